// Names parameterised cases after their `name` field.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace rz47::test {

struct CaseName {
  template <class Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

}  // namespace rz47::test
