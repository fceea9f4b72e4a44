#pragma once

// wowfix's scripted commands, reached through the dispatcher's vendor-specific
// opcode:
//
//     dispatcher(effect, effVendorSpecific, index = kMagic, value = command,
//                ptr = argument, opt = number)
//
// Every command answers 1 on success and 0 on failure. A plug-in that is not
// wowfix answers 0 to all of them, so a host can probe with any command. The
// records carry their own size in `size` (set it to sizeof the record) so
// that later versions can grow them at the end; a record shorter than the
// plug-in expects is refused.
//
// The commands stand in for what the editor's window does when a user works
// in it: pick a curve file, ask for a task, set the view. A host without a
// screen (the substitute host, scripted tests) drives the plug-in with them.

#include <cstdint>

namespace wowfix::vendor {

// 'wfxC'
constexpr std::int32_t kMagic = 0x77667843;

enum Command : std::intptr_t {
    // ptr: const char* path of a .pvc file (empty or null: none). The next
    // acquisition of a new selection loads it (or starts a flat curve).
    kSetPvcPath = 1,
    // ptr: const CurveFile*. Loads the curve at once over `length` frames
    // (the length of the selection it belongs to) and marks it established,
    // so that the host's process request corrects along it. On failure the
    // curve is flat 1.0 over `length` and the answer is 0.
    kLoadCurve = 2,
    // ptr: const CurveFile* (`length` ignored). Writes the curve as .pvc text.
    kSaveCurve = 3,
    // opt: task mode (1 whole-file acquisition, 8 view acquisition, ...).
    // Sets the mode and asks the host for its files again; the task starts
    // from the host's next file notification, as the editor's requests do.
    kRequestTask = 4,
    // ptr: const ViewSettings*. The view and spectrogram settings that the
    // acquisition tasks read.
    kSetView = 5,
    // ptr: SpectrogramImage*. Copies the store's display levels.
    kReadSpectrogram = 6,
    // ptr: TextBuffer*. The plug-in's last message for the user (empty when
    // there is none), e.g. why a curve did not load or undo is unavailable.
    kLastMessage = 7,
    // ptr: DetectorParameter*. Reads, or with `write` set writes, one
    // parameter of an algorithm's detector, as the editor's sliders do; the
    // detector is set up for the file's sample rate when it does not exist.
    // Answers 0 for an unknown algorithm or index, or when the detector
    // cannot exist (pilot tone below 24000 Hz).
    kDetectorParameter = 8,
    // ptr: ToolEvents*. Hands the pointer's press, moves and release, in the
    // spectrogram panel's pixels, to one of the editor's mouse tools, as the
    // window does when the user works on the picture; a tool other than the
    // selected one is selected first (and opens a new undo step with its
    // first change, as choosing it in the editor does). The tool works on the
    // curve and the spectrogram of the last acquisition: run one first (the
    // view acquisition, mode 8, for a part of the file). Answers 0 for an
    // unknown tool or phase, or when there is no spectrogram yet.
    kToolEvents = 9,
    // opt: 1 makes the next hum tracking (task mode 3) the variant that
    // first shows the signal as the hum library preprocesses it (the
    // editor's "Show Hum"), 0 the plain one.
    kUseRuntimeLibrary = 10,
    // ptr: const ProcessingArea*. Marks the processing area of the
    // spectral-domain detector, as the area tool's drag does; the next task
    // mode 7 (the editor's "Preview") analyses it. An empty area is not
    // marked (answer 0).
    kSetProcessingArea = 11,
    // The editor's "Create PVC" with the spectral-domain detector: the
    // result of the last preview, under the present "Confidence", becomes
    // the curve inside its area (one undo step). Answers 0, with a message,
    // when there has been no preview.
    kCreateSpectralPvc = 12,
    // opt: 1 makes the pilot-tone tracking (task mode 4) and the
    // spectral-domain detection (mode 7) use their precise detectors, and
    // kDetectorParameter address those detectors' parameters for algorithms
    // 4 and 7 (the editor's "Precise" choice); 0, the default, the plain ones.
    kUsePreciseDetectors = 13,
    // ptr: const EditorAction*. One user action on the open editor window
    // (opened with effEditOpen): a click on a control, a choice in a
    // drop-down list, a drag or a right click on the spectrogram panel, the
    // wheel, a key, or the answer of the next file dialog. Answers 0 when
    // the window is not open or the action cannot be done there.
    kEditorAction = 14,
    // ptr: WindowPicture*. The open editor window's picture, or the
    // spectrogram panel's with `panelOnly` set. A first call with too small
    // a capacity only tells the size.
    kEditorPicture = 15,
    // ptr: UndoState*. The open file's undo position, as the editor's
    // "Undo" counts it: it grows with every step recorded (an import that
    // loaded, a detection, an edit), so a host can tell whether an action
    // it gave changed the curve.
    kUndoState = 16,
};

// Algorithm numbers, as the editor's algorithm list counts them.
constexpr std::int32_t kHumAlgorithm = 3;
constexpr std::int32_t kPilotToneAlgorithm = 4;
constexpr std::int32_t kSpectralAlgorithm = 7;

// Mouse tools, as the editor numbers them.
constexpr std::int32_t kMovePointTool = 1;
constexpr std::int32_t kProcessingAreaTool = 2;
constexpr std::int32_t kDeletePointsTool = 3;
constexpr std::int32_t kCentreOfGravityTool = 4;
constexpr std::int32_t kInsertPointsTool = 5;
constexpr std::int32_t kDrawCurveTool = 6;

struct CurveFile {
    std::int32_t size;     // sizeof(CurveFile)
    const char* path;      // file system path, UTF-8
    double length;         // frames of the selection the curve covers
};

struct ViewSettings {
    std::int32_t size;         // sizeof(ViewSettings)
    std::int32_t fftLength;    // transform length, power of two 16 ... 8192
    std::int32_t windowIndex;  // 0 boxcar, 1 Hann, 2 Blackman
    std::int32_t panelWidth;   // spectrogram columns
    std::int32_t panelHeight;  // spectrogram rows
    double rangeStart;         // view range in frames of the file; an empty
    double rangeEnd;           // range (end <= start) means the whole file
    float lowDb;               // displayed level window, dB above the floor
    float highDb;
    float bottomFrequency;     // frequency band the rows show, Hz; 0 for both:
    float topFrequency;        // the whole spectrum
    float referenceFrequency;  // the curve's reference line, Hz (speed 1.0);
                               // 0: the middle of the band
};

struct SpectrogramImage {
    std::int32_t size;       // sizeof(SpectrogramImage)
    std::int32_t columns;    // out: store columns
    std::int32_t rows;       // out: store rows
    std::int32_t capacity;   // in: floats available at `levels`
    float* levels;           // out: levels[row * columns + column], 0 ... 100,
                             // row 0 the highest frequency; logarithmic scale
                             // when `logScale` is set, else linear
    std::int32_t logScale;
};

struct DetectorParameter {
    std::int32_t size;       // sizeof(DetectorParameter)
    std::int32_t algorithm;  // kPilotToneAlgorithm, kHumAlgorithm or kSpectralAlgorithm
    std::int32_t index;      // parameter number, 0 ... count - 1
    std::int32_t write;      // 1: set `value` first
    float value;             // in (write) / out: the slider value 0 ... 1
    float display;           // out: the effective setting it gives
    std::int32_t count;      // out: parameters of the detector
    char name[64];           // out
    char label[16];          // out: the unit ("smpl", "%", ...)
};

enum PointerPhase : std::int32_t {
    kPointerPress = 0,    // left button down
    kPointerDrag = 1,     // moved with the button held
    kPointerRelease = 2,  // button up
    kPointerHover = 3,    // moved without a button
};

struct PointerEvent {
    std::int32_t phase;   // PointerPhase
    std::int32_t x;       // panel pixel column, 0 at the left (the store's
    std::int32_t y;       // column x); row, 0 at the top (the store's row y)
};

struct ToolEvents {
    std::int32_t size;           // sizeof(ToolEvents)
    std::int32_t tool;           // kMovePointTool ... kDrawCurveTool
    std::int32_t count;          // events at `events`, 0 ... 1000000
    const PointerEvent* events;
    std::int32_t followed;       // out: columns the centre-of-gravity tool
                                 // followed at its last release, signed
                                 // (negative leftwards), 0 when none
    std::int32_t curvePoints;    // out: points of the curve afterwards
    std::int32_t undoPosition;   // out: the open file's undo position
};

struct ProcessingArea {
    std::int32_t size;       // sizeof(ProcessingArea)
    std::int32_t start;      // first and last frame of the area in the file
    std::int32_t end;
    float lowFrequency;      // the band searched for partials, Hz
    float highFrequency;
};

enum EditorActionKind : std::int32_t {
    kClickControl = 0,   // `id`; a drop-down list chooses entry `item`
    kDragPanel = 1,      // (x1, y1) to (x2, y2) in panel pixels
    kRightClickPanel = 2,  // at (x1, y1)
    kWheel = 3,          // `item` wheel steps (negative: towards the user)
    kKey = 4,            // virtual key `item`
    kAnswerDialog = 5,   // the next file dialog answers `path` (empty: cancel)
};

struct EditorAction {
    std::int32_t size;   // sizeof(EditorAction)
    std::int32_t kind;   // EditorActionKind
    std::int32_t id;
    std::int32_t item;   // -1 when a click needs none
    std::int32_t x1, y1, x2, y2;
    const char* path;
};

struct WindowPicture {
    std::int32_t size;       // sizeof(WindowPicture)
    std::int32_t panelOnly;  // in: 1 the panel, 0 the whole window
    std::int32_t width;      // out
    std::int32_t height;     // out
    std::int32_t capacity;   // in: pixels available at `pixels`
    std::uint32_t* pixels;   // out: 0x00RRGGBB, rows top to bottom
};

struct UndoState {
    std::int32_t size;      // sizeof(UndoState)
    std::int32_t position;  // out
};

struct TextBuffer {
    std::int32_t size;       // sizeof(TextBuffer)
    std::int32_t capacity;   // bytes at `text`, including the terminator
    char* text;
};

}  // namespace wowfix::vendor
