// msvcrt's own pow, in place of the one mingw-w64 links by default: that
// one and what it pulls in cost 3 KiB of the executable, for C99's special
// cases, which the tint's contrast ratio never meets (bases in [0, 1], the
// exponent 2.4). The link sends every call of pow here (--wrap=pow).
extern "C" {
extern double (*const msvcrtPow)(double, double) __asm__("__imp__pow");
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name that --wrap=pow calls
double __wrap_pow(double base, double exponent) { return msvcrtPow(base, exponent); }
}
