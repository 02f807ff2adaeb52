# wexConfig.cmake: find_package(wex CONFIG) gives wex::wex (the toolkit, which brings
# wex::runtime and the dynamic loader's library) and wex::runtime.
include("${CMAKE_CURRENT_LIST_DIR}/wexTargets.cmake")
