// Readable names for the cases of parameterised suites, so that `ctest -N` lists what each
// case holds and one case can be run again by its name.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace quorlin::testing {

// `text` as a test name: letters and digits kept, blanks as "_", other characters spelled out
// ("1,000" is "1Comma000", "" is "Empty"), so that different texts give different names.
std::string CaseName(std::string_view text);

// The name of a case that prints itself (its PrintTo), for INSTANTIATE_TEST_SUITE_P.
struct PrintedCaseName {
  template <class Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    return CaseName(::testing::PrintToString(info.param));
  }
};

// The name of a case that carries one in its `name` member.
struct CaseNameMember {
  template <class Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    return CaseName(info.param.name);
  }
};

}  // namespace quorlin::testing
