# Instrumented builds, each in a build folder of its own: ThreadSanitizer for
# the tests that run threads, and libFuzzer's coverage with ASan and UBSan for
# the fuzz targets. Every library is instrumented, so that races and faults
# inside them are seen and the fuzzer follows their branches.
if(SOUNDLOADER_TSAN AND (SOUNDLOADER_SANITIZE OR SOUNDLOADER_FUZZ))
  message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer: use a build folder of its own")
endif()

if(SOUNDLOADER_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(SOUNDLOADER_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need libFuzzer: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
