// Stands in for libxcb-xtest.so.0 in a test: it loads, and has none of XTEST's
// functions, as an old or broken installation might.
namespace {
[[maybe_unused]] constexpr int NothingHere = 0;
}  // namespace
