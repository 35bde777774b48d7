add_library(orvane_warnings INTERFACE)
target_compile_options(orvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wformat=2)
if(ORVANE_WERROR)
    target_compile_options(orvane_warnings INTERFACE -Werror)
endif()
