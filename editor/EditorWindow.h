#pragma once

#include "editor/ControlTable.h"
#include "editor/Palette.h"
#include "editor/PanelLayers.h"
#include "editor/view/FrequencyView.h"
#include "editor/view/ZoomRectangle.h"
#include "editor/win32/Win32.h"
#include "host/PanelDrawing.h"
#include "pvc/FileSlotMap.h"
#include "pvc/UndoHistory.h"
#include "sdk/AEffEditor.h"

#include <array>
#include <memory>
#include <string>

namespace wowfix {

class AudioEffect;
class OfflinePlugin;
class X11Presenter;

// The plug-in's editor: one 780 x 470 window of the class
// "OfflineWindowClass" with the spectrogram panel (control 10) and about a
// hundred child controls at fixed places, and the panel's drawing layers.
// Each window keeps its own table of control handles, so two plug-in
// instances with open windows never touch each other's controls. Every entry
// that draws does nothing while the window is closed.
class EditorWindow : public AEffEditor, public PanelDrawing {
public:
    static constexpr int kWidth = 780;
    static constexpr int kHeight = 470;
    static constexpr const char* kClassName = "OfflineWindowClass";

    EditorWindow(AudioEffect* effect, OfflinePlugin* owner);
    ~EditorWindow() override;

    bool getRect(ERect** rect) override;
    bool open(void* parentWindow) override;
    void close() override;
    bool isOpen() const override { return mainWindow_ != nullptr; }
    // Clears the pending update and draws nothing; a window shown through
    // X11 handles its pending events and is put on the screen.
    void idle() override;
    // The X11 window showing the editor, 0 when there is none.
    unsigned long x11Window() const;
    void postUpdate() override { updatePending_ = true; }
    bool updatePending() const { return updatePending_; }
    void setTaskMode(int mode);

    // --- PanelDrawing ----------------------------------------------------------
    void drawColumn(int column) override;
    void drawCurve() override;
    void drawCurveWithBounds(int lowerRow, int upperRow) override;
    void showProgress(double percent) override;
    void frequencyViewChanged() override;
    void timeViewChanged() override;

    // --- drawing ----------------------------------------------------------------
    // The spectrogram and the chart composed on the panel.
    void repaintPanel();
    // Every column of the store and the chart drawn anew.
    void redrawAll();
    void showStartPicture();
    bool drawEditCursor(double cursor);
    bool drawSelection(double start, double end);

    // --- window -----------------------------------------------------------------
    // The handle of control `id` of this window; nullptr for an identifier
    // outside 0 ... 106, one not made, or a closed window.
    HWND control(int id) const;
    HWND mainWindow() const { return mainWindow_; }
    HWND panelWindow() const { return panelWindow_; }
    int panelWidth() const { return panelWidth_; }
    int panelHeight() const { return panelHeight_; }
    const Palette& palette() const { return palette_; }
    PanelLayers& layers() { return layers_; }
    UndoHistory& undoHistory(int slot);
    int algorithm() const { return algorithm_; }
    bool linearScale() const { return linearScale_; }
    bool showPoints() const { return showPoints_; }
    // Shows the panel of `algorithm` and hides the others; -1 hides all.
    void showAlgorithmPanel(int algorithm);
    // Leaves the current algorithm and makes algorithm n the active one:
    // 3 hum, 4 pilot tone, 5 centre of gravity, 6 manual, 7 spectral, 8 zoom.
    void selectAlgorithm(int n);
    int tool() const { return tool_; }
    int lastDetector() const { return lastDetector_; }
    const FrequencyView& frequencyView() const { return frequencyView_; }
    bool zoomTimeEnabled() const { return zoomTimeEnabled_; }
    bool zoomFrequencyEnabled() const { return zoomFrequencyEnabled_; }
    // The zoom rectangle: press, then release, at panel pixel (x, y).
    void zoomPress(int x, int y);
    void zoomRelease(int x, int y);

    // The window and panel procedures.
    static LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK barProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Whether the window class is registered, and how many windows are open.
    static int openWindows();

private:
    void createControls();
    HWND createControl(const ControlSpec& entry);
    void command(int id, int code);
    bool viewCommand(int id);
    bool toolCommand(int id);
    void enableToolButtons(bool enable);
    void setLinearScale(bool linear);
    // Leaving the algorithm: info text, panel and its object released.
    bool leaveAlgorithm();
    // nullptr hides the info text.
    void showInfo(const char* text);
    void enableViewControls(bool view, bool reference);
    void fillTrackerPanel();
    void fillSpectralPanel();
    void fillLibraryPanel();
    // A parameter bar moved: the parameter set and its value text shown.
    bool parameterChanged(int id);
    // "Preview": the spectral detector over the marked area.
    void preview();
    void scroll(HWND bar, int request);
    // The view controls following the store and the view fields.
    void showTimeLabels(double start, double end);
    void showFrequencyLabels();
    void updateTimeBar();
    void updateFrequencyBar();
    void updateReferenceBar();
    // A new band shown: chart laid out again, panel, bars and labels.
    void frequencyChanged();
    // A new time range requested: bar and labels, and a pass asked for.
    void timeRequested();
    WNDPROC previousProcedure(HWND window) const;
    void drawCursorLine(HDC dc) const;

    OfflinePlugin* owner_;
    std::string importedPath_;
    std::string audioFileName_;
    HWND mainWindow_ = nullptr;
    HWND panelWindow_ = nullptr;
    int panelWidth_ = 670;
    int panelHeight_ = 260;
    HINSTANCE moduleHandle_ = nullptr;
    HBITMAP startPicture_ = nullptr;
    Palette palette_;
    PanelLayers layers_;
    std::array<UndoHistory, FileSlotMap::slotCount> histories_{};
    std::array<HWND, control::kCount> controls_{};
    std::array<WNDPROC, control::kCount> previousProcedures_{};
    bool updatePending_ = false;
    int algorithm_ = 0;
    int previousAlgorithm_ = 0;
    int lastDetector_ = 0;
    double totalSamples_ = 0.0;
    bool linearScale_ = true;
    bool showPoints_ = false;
    int notifyState_ = 0;
    int tool_ = 8;
    int savedTool_ = -1;
    FrequencyView frequencyView_;
    ZoomRectangle zoomRectangle_;
    bool zoomTimeEnabled_ = true;
    bool zoomFrequencyEnabled_ = true;
    bool moveMode_ = false;
    // Pixel column of the edit cursor drawn last, -1 for none.
    int cursorColumn_ = -1;
    std::unique_ptr<X11Presenter> presenter_;
    // This editor is counted among the open windows.
    bool counted_ = false;
};

}  // namespace wowfix
