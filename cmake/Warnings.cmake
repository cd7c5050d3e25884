# SPDX-License-Identifier: Apache-2.0
# kelvane_warnings: the warning flags every target of the project links, so
# that nothing leaks into code that only includes our headers.
add_library(kelvane_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(kelvane_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
        $<$<BOOL:${KELVANE_WERROR}>:-Werror>)
elseif(MSVC)
    target_compile_options(kelvane_warnings INTERFACE /W4 $<$<BOOL:${KELVANE_WERROR}>:/WX>)
endif()
