#include "spectrum/LinearSolver.h"

#include <QVarLengthArray>

#include <cmath>
#include <utility>

void solveLinearSystem(double *a, double *b, int n)
{
    if (n < 1)
        return;
    QVarLengthArray<int, 32> perm(n);
    for (int i = 0; i < n; ++i)
        perm[i] = i;

    for (int k = 0; k < n; ++k) {
        int p = k;
        double best = std::fabs(a[k * n + k]);
        for (int i = k + 1; i < n; ++i) {
            const double v = std::fabs(a[i * n + k]);
            if (v > best) {
                best = v;
                p = i;
            }
        }
        if (p != k) {
            for (int j = 0; j < n; ++j)
                std::swap(a[k * n + j], a[p * n + j]);
            std::swap(perm[k], perm[p]);
        }
        if (a[k * n + k] == 0.0)
            a[k * n + k] = 1.0;
        const double pivot = a[k * n + k];
        for (int i = k + 1; i < n; ++i) {
            const double f = a[i * n + k] / pivot;
            a[i * n + k] = f;
            if (f == 0.0)
                continue;
            for (int j = k + 1; j < n; ++j)
                a[i * n + j] -= f * a[k * n + j];
        }
    }

    // Forward substitution on the permuted right-hand side (L has a unit
    // diagonal), then back substitution through U.
    QVarLengthArray<double, 32> y(n);
    for (int i = 0; i < n; ++i) {
        double s = b[perm[i]];
        for (int j = 0; j < i; ++j)
            s -= a[i * n + j] * y[j];
        y[i] = s;
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = y[i];
        for (int j = i + 1; j < n; ++j)
            s -= a[i * n + j] * b[j];
        b[i] = s / a[i * n + i];
    }
}
