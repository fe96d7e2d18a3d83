#pragma once

// Solves the n by n linear system a * x = b by LU decomposition with partial
// pivoting (the largest absolute value of the column is the pivot), then
// forward and back substitution with the row permutation. a is row-major and
// is overwritten by its LU factors; b is overwritten by the solution x.
// A pivot that is exactly zero is taken as 1, so a singular system still
// yields coefficients (the background fits of sparse windows rely on that).
// n below 1 does nothing.
void solveLinearSystem(double *a, double *b, int n);
