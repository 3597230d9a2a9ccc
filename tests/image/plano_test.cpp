#include "image/plano.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

namespace velarno {
namespace {

// Below, at and above the 2 MiB where planes come in huge pages: a fresh plane is 0 to its last
// byte and can be written whole; copies and assignments (to another size or to the same) carry
// every byte; a moved-from plane is empty.
TEST(Plano, StartsAtZeroAndCopiesEveryByte) {
  for (const size_t n :
       {size_t{1}, (size_t{2} << 20) - 1, size_t{2} << 20, (size_t{5} << 20) + 3}) {
    SCOPED_TRACE(n);
    Plano a(n);
    ASSERT_EQ(a.size(), n);
    EXPECT_EQ(std::count(a.data(), a.data() + n, 0), static_cast<std::ptrdiff_t>(n));
    std::memset(a.data(), 7, n);
    a[n - 1] = 9;
    Plano b(a);
    Plano c(1);
    c = b;
    Plano d(n);
    d = c;
    Plano e(std::move(d));
    EXPECT_TRUE(d.empty());
    for (const Plano* p : {&b, &c, &e}) {
      ASSERT_EQ(p->size(), n);
      EXPECT_TRUE(std::memcmp(p->data(), a.data(), n) == 0);
    }
  }
}

}  // namespace
}  // namespace velarno
