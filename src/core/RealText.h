#pragma once

#include <QByteArray>

// Real numbers as the program's text files hold them: the text stream's
// default notation (general format, 6 significant digits, a two-digit
// exponent at least, "nan", "inf" and "-inf", "0" for either zero), byte
// for byte, without a stream. Exact halves round away from zero, as the
// stream rounds them (0.1015625 gives "0.101563").
//
// The spectra of every bin write hundreds of numbers per line and millions
// per file, so the common case is done in integers and only the rare value
// whose rounding a double cannot decide is worked out digit by digit.

// The longest text: "-1.23457e+308".
constexpr int RealTextMax = 16;

// Writes the text of v at out (room for RealTextMax characters, no
// terminating zero) and returns its length.
int writeRealText(char *out, double v);

// The same as a byte array.
QByteArray realText(double v);
