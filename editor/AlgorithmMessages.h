#pragma once

namespace wowfix {

// The texts the algorithm selection shows in the info field and boxes.
namespace message {
constexpr const char* kInfoTitle = "Info";
constexpr const char* kHumLinearOnly = "HUM Works only with Linear scale. Plese select linear scale.";
constexpr const char* kPilotLinearOnly = "HFB Works only with Linear scale. Plese select linear scale.";
constexpr const char* kGravityLinearOnly = "COG Works only with Linear scale. Plese select linear scale.";
constexpr const char* kManualLinearOnly = "ACD Works only with Linear scale. Plese select linear scale.";
constexpr const char* kSpectralLinearOnly = "SDPVC Works only with Linear scale. Plese select linear scale.";
constexpr const char* kHumNotCreated = "Wybrano k_ofl_hum.";
constexpr const char* kPilotNotCreated = "Sampling frequency is too low! Please, select another algorithm.";
constexpr const char* kSpectralNotCreated = "Could not init SDPvc! Please, select another algorithm.";
constexpr const char* kGravityActive =
    "The Centre of Gravity method is active. Use mouse, dragging it from left to right over the selected tonal "
    "track, to determine the PVC. The DISC Level is set by the vertical mouse position.";
constexpr const char* kMarkAreaFirst = "Najpierw zaznacz obszar przetwarzania";
constexpr const char* kImportFailed = "The curve file could not be read; the curve is kept.";
constexpr const char* kKeyPressed = "Wcisniety klawisz";
}  // namespace message

// The "works only with linear scale" text of algorithm n; nullptr for one
// that has none.
const char* linearOnlyMessage(int algorithm);

}  // namespace wowfix
