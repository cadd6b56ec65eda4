// The play field's sine and cosine: the same bits in every build and on every C library, since
// they take nothing from the library or the compiler's built-ins, only additions and
// multiplications, each rounded as IEEE arithmetic rounds it.
#pragma once

// Of an angle in radians; within two units in the last place of the true value for angles up
// to a million radians, farther off beyond.
double FieldSin(double radians);
double FieldCos(double radians);
