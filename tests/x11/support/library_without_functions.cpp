// Stands in for libXtst.so.6 in a test: it loads, and has none of XTest's
// functions, as an old or broken installation might.
namespace {
[[maybe_unused]] constexpr int NothingHere = 0;
}  // namespace
