#pragma once
// wowfix-host curve: conditioning of .pvc curves outside the plug-in,
//
//     wowfix-host curve band CURVE.pvc OUT.pvc --keep LO:HI | --wow slow|medium|fast | --flutter
//     wowfix-host curve centre CURVE.pvc OUT.pvc --mean | --pitch A4=440 --from INPUT
//     wowfix-host curve cyclic CURVE.pvc OUT.pvc --rpm 33.33|45|78 | --period SECONDS
//                               [--harmonics N] [--use FROM:TO ...]
//     wowfix-host curve join A.pvc B.pvc ... OUT.pvc
//     wowfix-host curve plot CURVE.pvc OUT.png [--true TRUE.pvc]
//     wowfix-host curve rate CURVE.pvc OUT.pvc --curve-rate HZ --audio TARGET [--tolerance SECONDS]
//
// band, cyclic and plot work in seconds: they take the sampling rate from
// --rate HZ or from the audio file named by --audio.

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// `args`: the words after "curve".
int runCurve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
