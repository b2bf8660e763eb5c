#include "dsp/SineTransform.h"

#include <cmath>
#include <numbers>

namespace ondrel {
namespace {

constexpr int N = 256;   // transform length
constexpr int M = N / 2; // complex FFT length
constexpr int LogM = 7;  // log2(M)
constexpr int Quarter = M / 2;

// Everything the fast transform needs that depends only on the length.
struct SineTransformTables {
    int bitReversed[M];
    // Twiddles of the radix-2 stages with half-lengths 4, 8, ..., 64, each stage's run
    // contiguous: stage with half-length h starts at offset h - 4 (sum of the earlier runs).
    double stageCos[M];
    double stageSin[M];
    // Output rotation: W_m = rot1[m] × E[m] + rot2[m] × O[m], rot1 = e^(-iπm/512),
    // rot2 = e^(-iπm/512) × e^(-iπm/128), for m = 0..127.
    double rot1Cos[M], rot1Sin[M];
    double rot2Cos[M], rot2Sin[M];

    SineTransformTables() {
        for (int n = 0; n < M; ++n) {
            int r = 0;
            for (int bit = 0; bit < LogM; ++bit) {
                r |= ((n >> bit) & 1) << (LogM - 1 - bit);
            }
            bitReversed[n] = r;
        }
        for (int half = 4; half < M; half *= 2) {
            for (int j = 0; j < half; ++j) {
                const double angle = -std::numbers::pi * j / half;
                stageCos[half - 4 + j] = std::cos(angle);
                stageSin[half - 4 + j] = std::sin(angle);
            }
        }
        for (int m = 0; m < M; ++m) {
            const double a1 = -std::numbers::pi * m / (2.0 * N);
            const double a2 = a1 - std::numbers::pi * m / M;
            rot1Cos[m] = std::cos(a1);
            rot1Sin[m] = std::sin(a1);
            rot2Cos[m] = std::cos(a2);
            rot2Sin[m] = std::sin(a2);
        }
    }
};

const SineTransformTables& Tables() {
    static const SineTransformTables tables;
    return tables;
}

// In-place radix-2 decimation-in-time FFT of M points whose input is already in bit-reversed
// order, split into real and imaginary arrays so that the butterflies vectorise.
void ComplexFft(double* re, double* im, const SineTransformTables& t) {
    // Half-length 1: twiddle 1.
    for (int a = 0; a < M; a += 2) {
        const double xr = re[a + 1], xi = im[a + 1];
        re[a + 1] = re[a] - xr;
        im[a + 1] = im[a] - xi;
        re[a] += xr;
        im[a] += xi;
    }
    // Half-length 2: twiddles 1 and -i.
    for (int a = 0; a < M; a += 4) {
        double xr = re[a + 2], xi = im[a + 2];
        re[a + 2] = re[a] - xr;
        im[a + 2] = im[a] - xi;
        re[a] += xr;
        im[a] += xi;
        xr = im[a + 3];
        xi = -re[a + 3];
        re[a + 3] = re[a + 1] - xr;
        im[a + 3] = im[a + 1] - xi;
        re[a + 1] += xr;
        im[a + 1] += xi;
    }
    for (int half = 4; half < M; half *= 2) {
        const double* wr = t.stageCos + (half - 4);
        const double* wi = t.stageSin + (half - 4);
        for (int base = 0; base < M; base += 2 * half) {
            double* ar = re + base;
            double* ai = im + base;
            double* br = ar + half;
            double* bi = ai + half;
            for (int j = 0; j < half; ++j) {
                const double xr = wr[j] * br[j] - wi[j] * bi[j];
                const double xi = wr[j] * bi[j] + wi[j] * br[j];
                br[j] = ar[j] - xr;
                bi[j] = ai[j] - xi;
                ar[j] += xr;
                ai[j] += xi;
            }
        }
    }
}

} // namespace

void SineTransform(ChannelData& a) {
    const SineTransformTables& t = Tables();
    double re[M];
    double im[M];

    // Load. With y[j] = (-1)^j x[j], the sine coefficient S[k] is the cosine coefficient
    // C[256 - k] of y. The cosine transform of y is a real FFT of v, v[n] = y[2n] and
    // v[255 - n] = y[2n + 1] for n < 128, packed as z[n] = v[2n] + i v[2n + 1]:
    // z[n] = x[4n] + i x[4n + 2] for n < 64, and -(x[511 - 4n] + i x[509 - 4n]) above.
    for (int n = 0; n < Quarter; ++n) {
        const int r = t.bitReversed[n];
        re[r] = a[4 * n];
        im[r] = a[4 * n + 2];
    }
    for (int n = Quarter; n < M; ++n) {
        const int r = t.bitReversed[n];
        re[r] = -a[511 - 4 * n];
        im[r] = -a[509 - 4 * n];
    }

    ComplexFft(re, im, t);

    // Unpack the real FFT V of v from Z: V[m] = E[m] + e^(-2πim/256) O[m] with
    // E[m] = (Z[m] + conj Z[128 - m]) / 2 and O[m] = (Z[m] - conj Z[128 - m]) / 2i. Then
    // W_m = e^(-iπm/512) V[m] gives C[m] = Re W_m and C[256 - m] = -Im W_m, and a[k] = C[256 - k].
    a[0] = re[0] + im[0];
    a[128] = std::numbers::sqrt2 / 2 * (re[0] - im[0]);
    for (int m = 1; m <= Quarter; ++m) {
        const int p = M - m;
        // E[m] and O[m]; E[p] = conj E[m] and O[p] = conj O[m].
        const double er = 0.5 * (re[m] + re[p]);
        const double ei = 0.5 * (im[m] - im[p]);
        const double orr = 0.5 * (im[m] + im[p]);
        const double oi = -0.5 * (re[m] - re[p]);

        const double wmr =
            t.rot1Cos[m] * er - t.rot1Sin[m] * ei + t.rot2Cos[m] * orr - t.rot2Sin[m] * oi;
        const double wmi =
            t.rot1Cos[m] * ei + t.rot1Sin[m] * er + t.rot2Cos[m] * oi + t.rot2Sin[m] * orr;
        a[N - m] = wmr;
        a[m] = -wmi;
        if (p != m) {
            const double wpr =
                t.rot1Cos[p] * er + t.rot1Sin[p] * ei + t.rot2Cos[p] * orr + t.rot2Sin[p] * oi;
            const double wpi =
                -t.rot1Cos[p] * ei + t.rot1Sin[p] * er - t.rot2Cos[p] * oi + t.rot2Sin[p] * orr;
            a[N - p] = wpr;
            a[p] = -wpi;
        }
    }
}

void SineTransformDirect(ChannelData& a) {
    const ChannelData x = a;
    // sin(π (j + 1/2) k / 256) = sin(π r / 512) with r = (2j + 1) k mod 1024, reduced exactly
    // in integers so that the reference keeps full precision for large arguments.
    double sines[4 * N];
    for (int r = 0; r < 4 * N; ++r) {
        sines[r] = std::sin(std::numbers::pi * r / (2 * N));
    }
    for (int k = 1; k <= N; ++k) {
        double sum = 0.0;
        for (int j = 0; j < N; ++j) {
            sum += x[j] * sines[((2 * j + 1) * k) % (4 * N)];
        }
        a[k % N] = sum;
    }
}

} // namespace ondrel
