#include "tests/support.h"

#include <gtest/gtest.h>

TEST(Startup, Placeholder) { SUCCEED(); }
