#pragma once

#include <fftw3.h>

#include <cstddef>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace orsan {

// Arrays from fftw_malloc, so every array has the alignment the plans were
// made with and a plan can run on any of them.
struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
using RealArray = std::unique_ptr<double[], FftwFree>;
using ComplexArray = std::unique_ptr<fftw_complex[], FftwFree>;
RealArray MakeRealArray(size_t n);
ComplexArray MakeComplexArray(size_t n);

// A work array kept between calls and grown only when a longer one is asked
// for: touching fresh pages for every transform costs as much as the
// transform itself.
template <typename T>
class FftwWork {
public:
    T* Get(size_t n) {
        if (n > size_) {
            array_.reset();
            if constexpr (std::is_same_v<T, double>) {
                array_ = MakeRealArray(n);
            } else {
                array_ = MakeComplexArray(n);
            }
            size_ = n;
        }
        return array_.get();
    }

private:
    std::unique_ptr<T[], FftwFree> array_;
    size_t size_ = 0;
};

enum class FftEffort {
    Estimate,  // plans at once; the choice for lengths seen once
    Measure,   // times candidate plans first; faster transforms, slower first use
};

// FFTW plans made once per length and kept for the owner's life, with the
// periodic Hann window of each length. The FFTW planner is process-wide and
// not thread-safe, so making and destroying plans goes through one mutex;
// running a plan on new arrays is safe from any thread, but one FftPlans
// object belongs to one thread at a time.
class FftPlans {
public:
    explicit FftPlans(FftEffort effort = FftEffort::Estimate);
    ~FftPlans();
    FftPlans(const FftPlans&) = delete;
    FftPlans& operator=(const FftPlans&) = delete;

    // n reals to n/2 + 1 complex lines, out of place.
    void Forward(size_t n, double* in, fftw_complex* out);
    // n complex lines to n complex samples (backward, not scaled), out of place.
    void Backward(size_t n, fftw_complex* in, fftw_complex* out);
    // w[k] = 0.5 - 0.5 cos(2 pi k / n): its sidelobes fall off fast and a
    // tone's amplitude is exactly recoverable from three lines.
    const std::vector<double>& Hann(size_t n);

private:
    fftw_plan PlanFor(std::map<size_t, fftw_plan>& cache, size_t n, bool forward);

    unsigned flags_;
    std::map<size_t, fftw_plan> forward_;
    std::map<size_t, fftw_plan> backward_;
    std::map<size_t, std::vector<double>> windows_;
};

}  // namespace orsan
