# The library is built in layers, bottom to top. Each layer is an object
# library compiled once, packaged as a static library that links only the
# layers below it, and all of them together make libveskar.so.
#
# A lower layer may never call upward. Static archives alone would not show
# such a call (the shared library links everything), so every layer but the
# top one is also linked on its own as a small shared library with
# --no-undefined against the layers below: an upward call leaves a symbol
# undefined there and the build fails.

set(VESKAR_LAYERS utility platform rux checker api)
set(VESKAR_LAYER_DIRS_utility Utility Global)
set(VESKAR_LAYER_DIRS_platform Docx Segmenter KeyScanner Convert CountryDetect Spelling Socket SearchClient)
set(VESKAR_LAYER_DIRS_rux RUX)
set(VESKAR_LAYER_DIRS_checker Checker Reviser BrowseDir)
set(VESKAR_LAYER_DIRS_api API)

# What every layer compiles and links with.
add_library(veskar_build INTERFACE)
target_include_directories(veskar_build
  INTERFACE ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(veskar_build INTERFACE VESKAR_BUILDING)
target_link_libraries(veskar_build INTERFACE PkgConfig::JSONCPP PkgConfig::MINIZIP
  PkgConfig::ZLIB PkgConfig::CURL PkgConfig::UCHARDET Threads::Threads)

# The link check needs a linker that reports undefined symbols; sanitizer and
# fuzzer runtimes are resolved only when an executable links.
set(VESKAR_LINK_CHECKS OFF)
if(VESKAR_SANITIZE STREQUAL "" AND NOT VESKAR_FUZZ)
  set(VESKAR_LINK_CHECKS ON)
endif()

set(VESKAR_LAYER_OBJECTS "")
set(below "")
foreach(layer ${VESKAR_LAYERS})
  set(sources "")
  foreach(dir ${VESKAR_LAYER_DIRS_${layer}})
    file(GLOB_RECURSE dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  add_library(veskar_${layer}_objects OBJECT ${sources})
  target_link_libraries(veskar_${layer}_objects PUBLIC veskar_build)
  veskar_warnings(veskar_${layer}_objects)

  add_library(veskar_${layer} STATIC $<TARGET_OBJECTS:veskar_${layer}_objects>)
  target_link_libraries(veskar_${layer} PUBLIC veskar_build ${below})

  if(VESKAR_LINK_CHECKS AND NOT layer STREQUAL "api")
    add_library(veskar_linkcheck_${layer} SHARED $<TARGET_OBJECTS:veskar_${layer}_objects>)
    target_link_libraries(veskar_linkcheck_${layer} PRIVATE veskar_build ${below})
    target_link_options(veskar_linkcheck_${layer} PRIVATE -Wl,--no-undefined)
    set_target_properties(veskar_linkcheck_${layer} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/linkcheck)
  endif()

  list(APPEND VESKAR_LAYER_OBJECTS $<TARGET_OBJECTS:veskar_${layer}_objects>)
  # Only the layer directly below is named; it brings its own lower layers.
  set(below veskar_${layer})
endforeach()
