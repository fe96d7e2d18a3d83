#include "spectrum/FourierBuffers.h"

#include "spectrum/SpectrumPoints.h"

#include <cmath>

FourierBuffers::~FourierBuffers()
{
    release();
}

void FourierBuffers::release()
{
    // The plans refer to the buffers, so they go first.
    if (forwardPlan)
        fftw_destroy_plan(forwardPlan);
    if (backwardPlan)
        fftw_destroy_plan(backwardPlan);
    forwardPlan = backwardPlan = nullptr;
    fftw_free(forwardIn);
    fftw_free(forwardOut);
    fftw_free(backwardIn);
    fftw_free(backwardOut);
    forwardIn = forwardOut = backwardIn = backwardOut = nullptr;
    delete[] mags;
    mags = nullptr;
    n = 0;
}

void FourierBuffers::setSize(int length)
{
    if (length == n)
        return;
    release();
    if (length < 1)
        return;
    n = length;
    const size_t bytes = sizeof(fftw_complex) * size_t(n);
    forwardIn = static_cast<fftw_complex *>(fftw_malloc(bytes));
    forwardOut = static_cast<fftw_complex *>(fftw_malloc(bytes));
    backwardIn = static_cast<fftw_complex *>(fftw_malloc(bytes));
    backwardOut = static_cast<fftw_complex *>(fftw_malloc(bytes));
    mags = new double[n]();
    // FFTW_ESTIMATE leaves the buffers' contents alone; they start at zero.
    for (int i = 0; i < n; ++i) {
        forwardIn[i][0] = forwardIn[i][1] = 0.0;
        forwardOut[i][0] = forwardOut[i][1] = 0.0;
        backwardIn[i][0] = backwardIn[i][1] = 0.0;
        backwardOut[i][0] = backwardOut[i][1] = 0.0;
    }
    forwardPlan = fftw_plan_dft_1d(n, forwardIn, forwardOut, FFTW_FORWARD, FFTW_ESTIMATE);
    backwardPlan = fftw_plan_dft_1d(n, backwardIn, backwardOut, FFTW_BACKWARD, FFTW_ESTIMATE);
}

void FourierBuffers::forward(const double *v)
{
    if (!forwardPlan || !v)
        return;
    for (int i = 0; i < n; ++i) {
        forwardIn[i][0] = v[i];
        forwardIn[i][1] = 0.0;
    }
    fftw_execute(forwardPlan);
}

void FourierBuffers::forward(const SpectrumPoints &p)
{
    if (!forwardPlan)
        return;
    const int m = p.size();
    for (int i = 0; i < n; ++i) {
        forwardIn[i][0] = i < m ? p.y(i) : 0.0;
        forwardIn[i][1] = 0.0;
    }
    fftw_execute(forwardPlan);
}

const double *FourierBuffers::magnitudes()
{
    if (!mags)
        return nullptr;
    for (int i = 0; i < n; ++i)
        mags[i] =
            std::sqrt(forwardOut[i][0] * forwardOut[i][0] + forwardOut[i][1] * forwardOut[i][1]);
    return mags;
}

void FourierBuffers::backward(const fftw_complex *c)
{
    if (!backwardPlan || !c)
        return;
    for (int i = 0; i < n; ++i) {
        backwardIn[i][0] = c[i][0];
        backwardIn[i][1] = c[i][1];
    }
    fftw_execute(backwardPlan);
}
