# Sanitized builds instrument everything we compile, tests and tools included.
if(VESKAR_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(VESKAR_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT VESKAR_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VESKAR_SANITIZE must be address, thread or empty")
endif()

# Fuzz builds instrument the library for coverage; the targets add the driver.
if(VESKAR_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
