#include "LiteralSpectrum.h"

#include <cmath>
#include <utility>

LiteralSpectrumResult ComputeLiteralSpectrum(const SampleFrame& samples) {
  LiteralSpectrumResult out;
  auto& xr = out.workReal;
  auto& xi = out.workImag;

  for (int i = 1; i <= 128; ++i) {
    xr[i] = samples[i - 1];
    xi[i] = 0.0;
  }

  const int m = static_cast<int>(std::trunc(std::log10(128.0) / std::log10(2.0) + 0.1));
  const int n = 1 << m;

  int j = 1;
  for (int i = 1; i <= n - 1; ++i) {
    if (i < j) {
      std::swap(xr[i], xr[j]);
      std::swap(xi[i], xi[j]);
    }
    int k = n / 2;
    while (k < j) {
      j = j - k;
      k = k / 2;
    }
    j = j + k;
  }

  const double pi = 4.0 * std::atan(1.0);
  for (int l = 1; l <= m; ++l) {
    const int le = 1 << l;
    const int le1 = le / 2;
    double ur = 1.0;
    double ui = 0.0;
    const double wr = std::cos(pi / le1);
    const double wi = -std::sin(pi / le1);
    for (int jj = 1; jj <= le1; ++jj) {
      for (int i = jj; i <= n; i += le) {
        const int ip = i + le1;
        const double tr = ur * xr[ip] - ui * xi[ip];
        const double ti = ui * xr[ip] + ur * xi[ip];
        xr[ip] = xr[i] - tr;
        xi[ip] = xi[i] - ti;
        xr[i] = xr[i] + tr;
        xi[i] = xi[i] + ti;
      }
      const double nextReal = ur * wr - ui * wi;
      const double nextImag = ur * wi + ui * wr;
      ur = nextReal;
      ui = nextImag;
    }
  }

  std::array<double, 65> power{};
  for (int k = 0; k <= 64; ++k) power[k] = (xr[k + 1] * xr[k + 1] + xi[k + 1] * xi[k + 1]) / 8192.0;
  power[0] = power[1];

  for (int k = 0; k <= 64; ++k) {
    double a = std::sqrt(power[k]);
    if (a < 1e-14) a = 1e-14;
    out.levels[k] = 20.0 * std::log10(a);
    if (out.levels[k] < -69.9) out.levels[k] = -69.9;
  }
  return out;
}
