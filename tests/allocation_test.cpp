// A readout is formed ten times a second: it must not touch the heap. This
// test binary counts every operator new while a readout is made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "readout/readout.h"

namespace {
int allocations = 0;
bool counting = false;
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace pinvale {
namespace {

TEST(ReadoutAllocations, AReadoutTouchesNoHeap) {
  const std::u16string longScale = u"1" + std::u16string(2000, u'0') + u"e-1998";  // 100 in 2,000 digits
  const std::u16string scales[] = {u"150",  u"110", u" 12.5 ", u"1e-300",
                                   u"1e20", u"abc", u"1e400",  longScale};
  for (const auto& scale : scales) {
    allocations = 0;
    counting = true;
    const auto readout = MakeReadout({333, -201}, scale, {u'.'});
    counting = false;
    EXPECT_EQ(allocations, 0) << "scale of " << scale.size() << " characters";
    static_cast<void>(readout);
  }
}

}  // namespace
}  // namespace pinvale
