#include <gtest/gtest.h>

#include "tipos.h"

namespace velarno {
namespace {

TEST(Pixeles, NewMatrixIsZero) {
  Pixeles p(3, 2);
  EXPECT_EQ(p.gris(2, 1), 0);
  EXPECT_FALSE(p.negro(2, 1));
}

}  // namespace
}  // namespace velarno
