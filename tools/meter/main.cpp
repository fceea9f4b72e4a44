// wowfix-meter: the wow-and-flutter meter on its own (wowfix-host measure
// runs the same command).

#include <exception>
#include <iostream>

#include "tools/meter/MeasureCommand.h"

int main(int argc, char** argv) {
    try {
        return wowfix::meter::runMeasureCommand(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "measure: " << e.what() << "\n";
    }
    return 1;
}
