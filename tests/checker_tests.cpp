#include "tests/support.h"

#include <gtest/gtest.h>
