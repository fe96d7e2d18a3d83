#pragma once

#include <fftw3.h>

class SpectrumPoints;

// One-dimensional complex discrete Fourier transforms of one length with
// buffers and plans that are kept and reused while the length stays. The
// transforms are unnormalized and no window function is applied. Plans are
// made with FFTW_ESTIMATE in the thread that owns the wrapper (FFTW planning
// is not thread-safe, so all wrappers live in the GUI thread).
class FourierBuffers
{
public:
    FourierBuffers() = default;
    ~FourierBuffers();
    FourierBuffers(const FourierBuffers &) = delete;
    FourierBuffers &operator=(const FourierBuffers &) = delete;

    // Makes buffers and plans for length n; the current length keeps them.
    // n below 1 releases them.
    void setSize(int n);
    int size() const { return n; }

    // forwardIn = (v[i], 0) for i < size(), then the forward transform.
    void forward(const double *v);
    // forwardIn = (y of point i, 0), (0, 0) past the end of the list.
    void forward(const SpectrumPoints &p);
    // |forwardOut[i]| for i < size(), kept by the wrapper; null without buffers.
    const double *magnitudes();
    // backwardIn = c[i] (real, imaginary) for i < size(), then the backward
    // transform.
    void backward(const fftw_complex *c);

    // Results and inputs of the last transforms (null without buffers).
    const fftw_complex *forwardOutput() const { return forwardOut; }
    const fftw_complex *backwardOutput() const { return backwardOut; }

    // Frees buffers and plans; the length becomes 0.
    void release();

private:
    int n = 0;
    fftw_complex *forwardIn = nullptr;
    fftw_complex *forwardOut = nullptr;
    fftw_complex *backwardIn = nullptr;
    fftw_complex *backwardOut = nullptr;
    fftw_plan forwardPlan = nullptr;
    fftw_plan backwardPlan = nullptr;
    double *mags = nullptr;
};
