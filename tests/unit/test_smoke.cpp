#include <gtest/gtest.h>
#include "fakes/Fakes.h"
TEST(Smoke, AppBuilds) { fakes::TestApp t; SUCCEED(); }
