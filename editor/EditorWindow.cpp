#include "editor/EditorWindow.h"

#include "editor/ParameterText.h"
#include "editor/StartPicture.h"
#include "editor/win32/ScriptedAnswers.h"
#include "host/HeadlessEditor.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"

#ifndef _WIN32
#include "editor/win32/SoftInput.h"
#endif
#ifdef WOWFIX_WITH_X11
#include "editor/x11/X11Presenter.h"
#else
namespace wowfix {
class X11Presenter {
public:
    void pump() {}
    unsigned long windowId() const { return 0; }
};
}  // namespace wowfix
#endif

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace wowfix {

namespace {

// Windows open in this process: the class is registered while it is above 0.
int openCount = 0;

EditorWindow* editorOf(HWND window) {
    return reinterpret_cast<EditorWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

const char* const kResolutions[] = {"64", "128", "256", "512", "1024", "2048", "4096"};
const char* const kWindows[] = {"Boxcar", "Hann", "Blackman", "Hamming"};

#ifdef _WIN32
// The library the editor is part of: its class, its controls and bitmap
// resource 102 belong to it, not to the host's program.
HINSTANCE ownModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&openCount), &module);
    return module;
}
#else
HINSTANCE ownModule() { return nullptr; }
#endif

bool isParameterBar(int id) { return (id >= 30 && id <= 34) || id == 104 || (id >= 46 && id <= 50) || (id >= 86 && id <= 90); }

}  // namespace

EditorWindow::EditorWindow(AudioEffect* effect, OfflinePlugin* owner) : AEffEditor(effect), owner_(owner) {}

EditorWindow::~EditorWindow() { close(); }

int EditorWindow::openWindows() { return openCount; }

bool EditorWindow::getRect(ERect** rect) {
    static ERect size{0, 0, static_cast<VstInt16>(kHeight), static_cast<VstInt16>(kWidth)};
    if (rect != nullptr) *rect = &size;
    return true;
}

void EditorWindow::setTaskMode(int mode) {
    if (effect != nullptr) effect->setParameter(0, static_cast<float>(mode));
}

void EditorWindow::idle() {
    updatePending_ = false;
    if (isOpen()) {
        applyTaskDrawing();
        followBusy();
        followUndoState();
        followPreciseChoice();
        followImport();
        owner_->headlessEditor().idle();
        if (!owner_->busy() && !deferred_.empty()) {
            const std::vector<Deferred> waiting = std::move(deferred_);
            deferred_.clear();
            for (const Deferred& d : waiting) {
                if (!isOpen()) break;
                std::optional<ScriptedActionScope> scripted;
                if (d.scripted) scripted.emplace();
                if (d.scroll)
                    scroll(control(d.id), d.code);
                else
                    command(d.id, d.code);
            }
        }
    }
    if (presenter_ != nullptr) presenter_->pump();
}

unsigned long EditorWindow::x11Window() const { return presenter_ != nullptr ? presenter_->windowId() : 0; }

UndoHistory& EditorWindow::undoHistory(int slot) { return owner_->headlessEditor().historyOfSlot(slot); }

HWND EditorWindow::control(int id) const {
    if (!isOpen() || id < 0 || id >= control::kCount) return nullptr;
    return controls_[static_cast<size_t>(id)];
}

WNDPROC EditorWindow::previousProcedure(HWND window) const {
    const LONG_PTR id = GetWindowLongPtrA(window, GWLP_ID);
    if (id < 0 || id >= control::kCount) return nullptr;
    return previousProcedures_[static_cast<size_t>(id)];
}

bool EditorWindow::open(void* parentWindow) {
    if (isOpen()) return true;
    AEffEditor::open(parentWindow);
    counted_ = true;
    uiThread_ = std::this_thread::get_id();
    moduleHandle_ = ownModule();
    if (++openCount == 1) {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&init);
        WNDCLASSA windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = mainProcedure;
        windowClass.hInstance = moduleHandle_;
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
    }
#ifndef _WIN32
    soft::registerBitmapResource(kStartPictureId, kStartPictureWidth, kStartPictureHeight, startPicturePixels());
#endif
    startPicture_ = LoadBitmapA(moduleHandle_, MAKEINTRESOURCEA(kStartPictureId));
    HWND parent = static_cast<HWND>(parentWindow);
#ifdef WOWFIX_WITH_X11
    // A parent that is not a window of the layer is the host's X11 window id
    // (the Linux convention); the window is then shown through X11, as a
    // top-level window of its own when the id is the screen's root window.
    // No parent at all keeps the window headless (scripts and tests).
    const bool onX11 = parent != nullptr && !IsWindow(parent);
    if (onX11) parent = nullptr;
#endif
    mainWindow_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, parent, nullptr,
                                  moduleHandle_, nullptr);
    if (mainWindow_ == nullptr) {
        // No window (a parent that is not a window): nothing stays half made.
        close();
        return false;
    }
    SetWindowLongPtrA(mainWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    createControls();
    algorithm_ = previousAlgorithm_ = 8;
    notifyState_ = 0;
    tool_ = 8;
    layers_.showPicture(startPicture_, nullptr);
    taskDrawing_.open();
    owner_->headlessEditor().windowOpened();
#ifdef WOWFIX_WITH_X11
    if (onX11) {
        presenter_ = std::make_unique<X11Presenter>();
        if (!presenter_->open(static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(parentWindow)), mainWindow_)) {
            close();
            return false;
        }
    }
#endif
    return true;
}

HWND EditorWindow::createControl(const ControlSpec& entry) {
    DWORD style = WS_CHILD | entry.style;
    if (entry.visible) style |= WS_VISIBLE;
    if (!entry.enabled) style |= WS_DISABLED;
    HWND window = CreateWindowExA(0, entry.className, entry.caption, style, entry.x, entry.y, entry.width, entry.height,
                                  mainWindow_, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(entry.id)),
                                  moduleHandle_, nullptr);
    if (window == nullptr) return nullptr;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(entry.font)), FALSE);
    if (entry.checked) SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
    if (entry.id >= 0 && entry.id < control::kCount) controls_[static_cast<size_t>(entry.id)] = window;
    return window;
}

void EditorWindow::createControls() {
    const SpectrogramStore& store = owner_->spectrogram();
    for (const ControlSpec& entry : editorControls()) {
        HWND window = createControl(entry);
        if (window == nullptr) continue;
        const size_t id = static_cast<size_t>(entry.id);
        if (entry.id == control::kPanel) {
            panelWindow_ = window;
            RECT r{};
            GetWindowRect(window, &r);
            panelWidth_ = r.right - r.left;
            panelHeight_ = r.bottom - r.top;
            HDC dc = GetDC(window);
            layers_.create(dc, panelWidth_, panelHeight_);
            ReleaseDC(window, dc);
            previousProcedures_[id] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(panelProcedure)));
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        } else if (entry.id == control::kAlgorithmSelector) {
            for (const char* name : kAlgorithmNames) SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            SendMessageA(window, CB_SETCURSEL, 0, 0);
        } else if (entry.id == control::kProgress) {
            SendMessageA(window, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        } else if (entry.id == control::kResolution) {
            int shown = 0;
            for (int i = 0; i < 7; ++i) {
                SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kResolutions[i]));
                if ((64 << i) == store.fftLength()) shown = i;
            }
            SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
            owner_->headlessEditor().view().resolution = 64 << shown;
        } else if (entry.id == control::kWindowing) {
            for (const char* name : kWindows) SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            const int type = store.windowType();
            const int shown = type >= 0 && type < 4 ? type : 1;
            SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
            owner_->headlessEditor().view().windowIndex = shown;
        } else if (isParameterBar(entry.id)) {
            // One page beyond the maximum, so that the bottom (0) can be reached.
            SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, kBarMaximum + kBarPage - 1,
                            kBarPage, kBarMaximum / 2, 0};
            SetScrollInfo(window, SB_CTL, &info, TRUE);
            previousProcedures_[id] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(barProcedure)));
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        }
    }
}

void EditorWindow::close() {
    presenter_.reset();
    // A task still running keeps its drawing to itself from now on.
    taskDrawing_.close();
    if (mainWindow_ != nullptr) {
        // The window opens again on the zoom options: a pilot-tone or
        // spectral-domain panel's "Precise" goes with it.
        if (algorithm_ == kPilotToneTracking || algorithm_ == kSpectralDetection) dropPreciseChoice();
        // The snapshots go (after a running task), and with them the undo
        // steps that named them.
        owner_->headlessEditor().deleteSnapshots();
        owner_->headlessEditor().windowClosed();
        layers_.destroy();
        // The controls go with the main window; their procedures are never
        // called again.
        DestroyWindow(mainWindow_);
        mainWindow_ = nullptr;
        panelWindow_ = nullptr;
        controls_.fill(nullptr);
        previousProcedures_.fill(nullptr);
    }
    if (startPicture_ != nullptr) {
        DeleteObject(startPicture_);
        startPicture_ = nullptr;
    }
    if (counted_) {
        counted_ = false;
        if (--openCount == 0) UnregisterClassA(kClassName, moduleHandle_);
    }
    cursorColumn_ = -1;
    deferred_.clear();
    chartPending_ = boundsPending_ = frequencyViewPending_ = timeViewPending_ = false;
    busyShown_ = false;
    enabledBeforeBusy_.clear();
    AEffEditor::close();
}

// --- window procedures ----------------------------------------------------------

LRESULT CALLBACK EditorWindow::mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return 0;
    EditorWindow* editor = editorOf(window);
    if (editor != nullptr && editor->mainWindow_ == window && message == WM_COMMAND) {
        editor->command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    if (editor != nullptr && editor->mainWindow_ == window && (message == WM_HSCROLL || message == WM_VSCROLL)) {
        HWND bar = reinterpret_cast<HWND>(lParam);
        if (editor->owner_->busy()) {
            // The view belongs to the running task; the scroll waits for its end.
            const LONG_PTR id = GetWindowLongPtrA(bar, GWLP_ID);
            editor->deferred_.push_back(
                {true, static_cast<int>(id), static_cast<int>(LOWORD(wParam)), ScriptedActionScope::active()});
            return 0;
        }
        editor->scroll(bar, LOWORD(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK EditorWindow::panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorWindow* editor = editorOf(window);
    if (editor == nullptr || editor->panelWindow_ != window) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_PAINT) {
        // Always between BeginPaint and EndPaint, so the panel is validated.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        editor->layers_.paint(dc);
        editor->drawCursorLine(dc);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_LBUTTONUP && editor->tool_ == 8) editor->panelClicked();
    if (editor->tool_ == 0 && !editor->owner_->busy()) {
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        if (message == WM_LBUTTONDOWN) editor->zoomPress(x, y);
        if (message == WM_LBUTTONUP) editor->zoomRelease(x, y);
        if ((message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) && editor->lastDetector_ != 0) {
            ShowWindow(editor->control(106), SW_HIDE);
            editor->selectAlgorithm(editor->lastDetector_);
        }
    }
    if (editor->tool_ >= 1 && editor->tool_ <= 6) editor->routeToTool(message, wParam, lParam);
    // Everything else, the mouse messages included, goes on to the static
    // control's own procedure (destruction, cursor, notifications).
    return CallWindowProcA(editor->previousProcedure(window), window, message, wParam, lParam);
}

void EditorWindow::routeToTool(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    HeadlessEditor& headless = owner_->headlessEditor();
    int phase = -1;
    if (message == WM_LBUTTONDOWN) {
        buttonDown_ = true;
        phase = 0;
    } else if (message == WM_MOUSEMOVE && buttonDown_ && (wParam & MK_LBUTTON) != 0) {
        phase = 1;
    } else if (message == WM_LBUTTONUP && buttonDown_) {
        buttonDown_ = false;
        phase = 2;
    }
    if (phase < 0 || !headless.useTool(tool_)) return;
    headless.pointer(phase, x, y);
    if (phase != 2) return;
    // A finished edit may have recorded an undo step.
    const UndoHistory& history = headless.history();
    undoStateChanged(history.canUndo(), history.canRedo());
}

LRESULT CALLBACK EditorWindow::barProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorWindow* editor = editorOf(window);
    WNDPROC previous = editor != nullptr ? editor->previousProcedure(window) : nullptr;
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void EditorWindow::command(int id, int code) {
    if (owner_->busy()) {
        if (!refusedWhileBusy(id)) deferred_.push_back({false, id, code, ScriptedActionScope::active()});
        return;
    }
    if (code == BN_CLICKED && (viewCommand(id) || toolCommand(id) || curveCommand(id))) return;
    if (id == control::kAlgorithmSelector && code == CBN_SELCHANGE) {
        const LRESULT entry = SendMessageA(control(id), CB_GETCURSEL, 0, 0);
        // The first entry only asks for a choice.
        if (entry < 1 || entry >= 6) return;
        selectAlgorithm(kAlgorithmOfEntry[entry]);
        return;
    }
    if (id == control::kPrecise && code == BN_CLICKED) {
        preciseClicked();
        return;
    }
    if (id == 80 && code == BN_CLICKED) {
        preview();
        return;
    }
    if (id == 96 && code == BN_CLICKED && lastDetector_ != 0) {
        selectAlgorithm(8);
        ShowWindow(control(106), SW_SHOW);
    }
}


// --- drawing ----------------------------------------------------------------------

void EditorWindow::drawCursorLine(HDC dc) const {
    if (cursorColumn_ < 0 || dc == nullptr) return;
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, cursorColumn_, 1, nullptr);
    LineTo(dc, cursorColumn_, panelHeight_ - 1);
    SelectObject(dc, pen);
}

void EditorWindow::repaintPanel() {
    if (!isOpen()) return;
    HDC dc = GetDC(panelWindow_);
    layers_.paint(dc);
    drawCursorLine(dc);
    ReleaseDC(panelWindow_, dc);
}

void EditorWindow::drawColumn(int column) {
    if (!onWindowThread()) {
        if (!taskDrawing_.isOpen()) return;
        // The task's thread works out the colours of the column it has just
        // finished; the window's thread sets them into the layer.
        const SpectrogramStore& store = owner_->spectrogram();
        TaskDrawingQueue::Column finished;
        finished.column = column;
        for (int y = 1; y <= panelHeight_ - 2; ++y)
            finished.colours.push_back(palette_.colourOfLevel(linearScale_ ? store.levelLinear(column, y)
                                                                           : store.levelLog(column, y)));
        taskDrawing_.addColumn(std::move(finished));
        return;
    }
    if (!isOpen()) return;
    HDC dc = GetDC(panelWindow_);
    layers_.drawColumn(owner_->spectrogram(), column, linearScale_, palette_, dc);
    ReleaseDC(panelWindow_, dc);
}

void EditorWindow::drawCurve() {
    if (!onWindowThread()) {
        taskDrawing_.curveChanged();
        return;
    }
    if (!isOpen()) return;
    layers_.drawChart(&owner_->curve(), showPoints_);
    repaintPanel();
}

void EditorWindow::drawCurveWithBounds(int lowerRow, int upperRow) {
    if (!onWindowThread()) {
        taskDrawing_.curveChangedWithBounds(lowerRow, upperRow);
        return;
    }
    if (!isOpen()) return;
    layers_.drawChartWithBounds(owner_->curve(), lowerRow, upperRow, showPoints_);
    repaintPanel();
}

void EditorWindow::showProgress(double percent) {
    if (!onWindowThread()) {
        taskDrawing_.setProgress(percent);
        return;
    }
    if (!isOpen()) return;
    HWND bar = control(control::kProgress);
    if (!(percent >= 0.0)) {
        ShowWindow(bar, SW_HIDE);
        return;
    }
    ShowWindow(bar, SW_SHOW);
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(percent > 100.0 ? 100 : static_cast<int>(percent)), 0);
}

void EditorWindow::redrawAll() {
    if (!isOpen()) return;
    const SpectrogramStore& store = owner_->spectrogram();
    for (int c = 0; c < store.columns(); ++c)
        if (store.columnComputed(c)) layers_.drawColumn(store, c, linearScale_, palette_, nullptr);
    layers_.drawChart(&owner_->curve(), showPoints_);
    repaintPanel();
}

void EditorWindow::showStartPicture() {
    if (!isOpen()) return;
    layers_.showPicture(startPicture_, nullptr);
    tool_ = 8;
    repaintPanel();
}

bool EditorWindow::drawEditCursor(double cursor) {
    if (!isOpen()) return false;
    const EditorView& view = owner_->headlessEditor().view();
    HDC dc = GetDC(panelWindow_);
    const bool drawn = layers_.editCursor(dc, cursor, view.viewOrigin, view.viewLength);
    ReleaseDC(panelWindow_, dc);
    // Kept, so that the next paint shows the cursor again.
    cursorColumn_ = drawn ? layers_.columnOfSample(std::trunc(cursor) - view.viewOrigin, view.viewLength) : -1;
    return drawn;
}

bool EditorWindow::drawSelection(double start, double end) {
    if (!isOpen()) return false;
    const EditorView& view = owner_->headlessEditor().view();
    HDC dc = GetDC(panelWindow_);
    const bool drawn = layers_.selection(dc, start, end, view.viewOrigin, view.viewLength);
    ReleaseDC(panelWindow_, dc);
    return drawn;
}

}  // namespace wowfix
