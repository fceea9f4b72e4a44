#pragma once

#include "editor/ControlTable.h"
#include "editor/Palette.h"
#include "editor/PanelLayers.h"
#include "editor/TaskDrawingQueue.h"
#include "editor/view/FrequencyView.h"
#include "editor/view/ZoomRectangle.h"
#include "editor/win32/Win32.h"
#include "host/HandshakeDisplay.h"
#include "host/PanelDrawing.h"
#include "pvc/FileSlotMap.h"
#include "pvc/UndoHistory.h"
#include "sdk/AEffEditor.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace wowfix {

class AudioEffect;
class OfflinePlugin;
class X11Presenter;

// The plug-in's editor: one 780 x 470 window of the class
// "OfflineWindowClass" with the spectrogram panel (control 10) and about a
// hundred child controls at fixed places, and the panel's drawing layers.
// Each window keeps its own table of control handles, so two plug-in
// instances with open windows never touch each other's controls. Every entry
// that draws does nothing while the window is closed. A task that the host
// runs on another thread only hands its drawing over (TaskDrawingQueue); the
// window's thread puts it on the panel at its next idle. While a task runs,
// the commands that would release or replace what it uses are refused and
// the others wait until it has ended.
class EditorWindow : public AEffEditor, public PanelDrawing, public HandshakeDisplay {
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
    // Clears the pending update; puts what a task on another thread has
    // drawn on the panel, runs the commands that waited for a task and lets
    // the handshake follow up unanswered requests; a window shown through
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

    // --- HandshakeDisplay ------------------------------------------------------
    bool showing() const override { return isOpen(); }
    void showStartPicture(bool firstTime) override;
    void showWorkingControls() override { setWorkingControlsShown(true); }
    void leaveStartPicture() override;
    void newFileOpened() override;
    void undoStateChanged(bool canUndo, bool canRedo) override;
    void editCursorMoved(double cursor) override { drawEditCursor(cursor); }
    void selectionChanged(double start, double end) override { drawSelection(start, end); }

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
    // outside 0 ... 107, one not made, or a closed window.
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
    bool advancedPanel() const { return advancedPanel_; }
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
    // A command or scroll that came while a task ran, done once it has ended.
    struct Deferred {
        bool scroll = false;
        int id = 0;
        int code = 0;
        // Given by a scripted action: its message boxes answer themselves
        // when it is done, as they would have at once.
        bool scripted = false;
    };

    void createControls();
    // The task handshake's side of the window.
    bool onWindowThread() const { return uiThread_.load() == std::this_thread::get_id(); }
    void setWorkingControlsShown(bool shown);
    void panelClicked();
    // A left-button event in the panel handed to the curve tool in use.
    void routeToTool(UINT message, WPARAM wParam, LPARAM lParam);
    void applyTaskDrawing();
    void followBusy();
    // "Undo" and "Redo" as the history is, also after a task that the host
    // ran at once (the window never saw it busy).
    void followUndoState();
    bool refusedWhileBusy(int id) const;
    HWND createControl(const ControlSpec& entry);
    void command(int id, int code);
    bool viewCommand(int id);
    bool toolCommand(int id);
    // "Create PVC", "Show Hum", "Import PVC", "Export PVC", "Undo", "Redo".
    bool curveCommand(int id);
    void createPvc();
    void showHum();
    void importCurve();
    void exportCurve();
    void undoOrRedo(bool redo);
    // The curve laid out over the view, the chart and the panel drawn.
    void redrawCurve();
    // The time view over the whole selection, its bar and labels.
    void resetTimeToSelection();
    // An import the pass has taken: a file it could not read is told.
    void followImport();
    // "Advanced >" / "< Basic": the other set of library parameters.
    void switchLibrarySet();
    // Library slot 0 ... 4 moved to value v.
    void librarySlotChanged(int slot, float v);
    void enableToolButtons(bool enable);
    void setLinearScale(bool linear);
    // Leaving the algorithm: info text, panel and its object released.
    bool leaveAlgorithm();
    // nullptr hides the info text.
    void showInfo(const char* text);
    void enableViewControls(bool view, bool reference);
    void fillTrackerPanel();
    void fillSpectralPanel();
    // --- "Precise" (EditorPreciseChoice.cpp) ---------------------------------------
    // Whether the panel shown is the pilot-tone or spectral-domain one with
    // the precise detectors chosen.
    bool preciseChosen() const;
    // "Precise" clicked: the precise detectors on or off and the panel's
    // columns showing the detector now in use.
    void preciseClicked();
    // Opening or leaving the pilot-tone or spectral-domain panel: the
    // precise detectors off and the box cleared.
    void dropPreciseChoice();
    // The panel's columns changed over to the precise detector or back to
    // the plain one, with what a preview had made usable kept meanwhile.
    void switchPanelDetector(bool precise);
    // The box, the columns and the buttons of the pilot-tone or
    // spectral-domain panel as the plug-in's choice of detectors has them.
    void showPreciseChoice();
    // At idle: a choice made outside the window (the vendor command) shown.
    void followPreciseChoice();
    // The precise detector's parameters on the panel's first four columns.
    void fillPreciseColumns(const int* captions, const int* bars, const int* values);
    // A bar of the precise columns moved; false for another bar.
    bool preciseParameterChanged(int id, float value);
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
    bool advancedPanel_ = false;
    // "Create PVC" and the third bar of the plain spectral-domain panel
    // before "Precise" was ticked (a preview had made them usable).
    bool plainCreateEnabled_ = false;
    bool plainThresholdEnabled_ = false;
    // The pilot-tone or spectral-domain columns show the precise detector.
    bool columnsPrecise_ = false;
    bool buttonDown_ = false;
    // The file dialogs' names and folders, kept between calls.
    std::array<char, 260> importName_{};
    std::array<char, 260> exportName_{};
    std::string importFolder_;
    std::string exportFolder_;
    // An import waits for its pass; the undo position before it.
    bool importWaiting_ = false;
    // The import was a scripted action's: its outcome's box answers itself.
    bool importScripted_ = false;
    int positionBeforeImport_ = 0;
    // Pixel column of the edit cursor drawn last, -1 for none.
    int cursorColumn_ = -1;
    std::unique_ptr<X11Presenter> presenter_;
    // This editor is counted among the open windows.
    bool counted_ = false;
    // The thread that opened the window and alone draws on it.
    std::atomic<std::thread::id> uiThread_{};
    TaskDrawingQueue taskDrawing_;
    // Handed over by a task and put on the panel once it has ended.
    bool chartPending_ = false;
    bool boundsPending_ = false;
    int lowerRowPending_ = 0;
    int upperRowPending_ = 0;
    bool frequencyViewPending_ = false;
    bool timeViewPending_ = false;
    std::vector<Deferred> deferred_;
    // The busy state the controls show, and their enabled state before.
    bool busyShown_ = false;
    std::vector<std::pair<int, bool>> enabledBeforeBusy_;
};

}  // namespace wowfix
