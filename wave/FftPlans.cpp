#include "FftPlans.h"

#include <cmath>
#include <mutex>
#include <new>
#include <numbers>

namespace orsan {
namespace {

std::mutex& PlannerMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

RealArray MakeRealArray(size_t n) {
    RealArray array(fftw_alloc_real(n));
    if (!array) throw std::bad_alloc();
    return array;
}

ComplexArray MakeComplexArray(size_t n) {
    ComplexArray array(fftw_alloc_complex(n));
    if (!array) throw std::bad_alloc();
    return array;
}

FftPlans::FftPlans(FftEffort effort)
    : flags_(effort == FftEffort::Measure ? FFTW_MEASURE : FFTW_ESTIMATE) {}

FftPlans::~FftPlans() {
    const std::lock_guard lock(PlannerMutex());
    for (auto* cache : {&forward_, &backward_}) {
        for (auto& [n, plan] : *cache) fftw_destroy_plan(plan);
    }
}

fftw_plan FftPlans::PlanFor(std::map<size_t, fftw_plan>& cache, size_t n, bool forward) {
    if (auto found = cache.find(n); found != cache.end()) return found->second;
    // Measuring overwrites the arrays, so plans are made on scratch arrays;
    // fftw_malloc gives every later array the same alignment.
    fftw_plan plan = nullptr;
    {
        const std::lock_guard lock(PlannerMutex());
        if (forward) {
            RealArray in = MakeRealArray(n);
            ComplexArray out = MakeComplexArray(n / 2 + 1);
            plan = fftw_plan_dft_r2c_1d(int(n), in.get(), out.get(), flags_);
        } else {
            ComplexArray in = MakeComplexArray(n);
            ComplexArray out = MakeComplexArray(n);
            plan = fftw_plan_dft_1d(int(n), in.get(), out.get(), FFTW_BACKWARD, flags_);
        }
    }
    if (!plan) throw std::bad_alloc();
    cache.emplace(n, plan);
    return plan;
}

void FftPlans::Forward(size_t n, double* in, fftw_complex* out) {
    fftw_execute_dft_r2c(PlanFor(forward_, n, true), in, out);
}

void FftPlans::Backward(size_t n, fftw_complex* in, fftw_complex* out) {
    fftw_execute_dft(PlanFor(backward_, n, false), in, out);
}

const std::vector<double>& FftPlans::Hann(size_t n) {
    auto [window, made] = windows_.try_emplace(n);
    if (made) {
        window->second.resize(n);
        for (size_t k = 0; k < n; ++k) {
            window->second[k] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(k) / double(n));
        }
    }
    return window->second;
}

}  // namespace orsan
