#pragma once

namespace wowfix {

// The parameter interface shared by the automatic curve detectors.
//
// A detector has a fixed list of parameters. Each is set as a normalised value
// 0..1 (an editor slider, or a command-line option) and turned by the detector
// into an effective setting (a length, an order, a percentage) that is shown
// with the parameter's name and unit label. Values outside 0..1 are clamped; a
// value that is not a number is ignored and the previous value stays. Indexes
// outside the list read as 0 (or an empty text) and are ignored when set.
class PvcDetector {
public:
    virtual ~PvcDetector() = default;

    virtual int getNumParams() const = 0;

    // Stored normalised value; 0 for an index outside the list.
    virtual float getParameter(int index) const = 0;

    // Stores the value (clamped to 0..1) and derives the effective setting.
    // Always answers true; an index outside the list changes nothing.
    virtual bool setParameter(int index, float value) = 0;

    // The effective setting as a number; 0 for an index outside the list.
    virtual float getParameterDisplayValue(int index) const = 0;

    // The parameter's name and unit label; "" for an index outside the list.
    virtual const char* parameterName(int index) const = 0;
    virtual const char* parameterLabel(int index) const = 0;

    // The name and label copied by copyBoundedText into a pre-filled buffer.
    // Always answer true; an unknown index copies nothing.
    bool getParameterName(int index, char* buffer) const;
    bool getParameterLabel(int index, char* buffer) const;

    // The index of the parameter called `name`, or -1. Letters match regardless
    // of case, and spaces, '-' and '_' are skipped on both sides, so "FFT Length",
    // "fft-length" and "fftlength" all name the same parameter.
    int findParameter(const char* name) const;

protected:
    bool isParameterIndex(int index) const { return index >= 0 && index < getNumParams(); }

    // The normalised value a setter stores: clamped to 0..1. Answers false for a
    // value that is not a number.
    static bool normalisedValue(float value, float& stored);
};

}  // namespace wowfix
