#include "library/catalogue.h"
#include "library/textfile.h"
#include "tests/support.h"

#include <gtest/gtest.h>

TEST(Library, Placeholder) { SUCCEED(); }
