# Shared build settings for every target of ours.
if(CHIMEWELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(CHIMEWELL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The distribution's hardening for what users run: fortified libc calls, stack protector, and a
# read-only relocation table bound at start. Optimised builds only (fortification needs the
# optimiser) and never beside a sanitizer, whose runtime does the checking there.
option(CHIMEWELL_HARDEN "Build with the distribution's hardening flags" ON)
if(CHIMEWELL_HARDEN AND NOT CHIMEWELL_SANITIZE AND NOT CHIMEWELL_TSAN AND NOT CHIMEWELL_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong
                      -Wformat -Werror=format-security)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# Coverage feedback in every library of ours, so a fuzz target is guided through all the code it
# reaches and not only through its own file.
if(CHIMEWELL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Our own code is warning-free; third-party headers come in as system includes. Warnings stop
# the build only when asked for (our test builds and CI): packagers' compilers and flags differ.
function(chimewell_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(CHIMEWELL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC 12 at -O2/-O3 reports `"text" + std::string` as an overlapping memcpy (GCC bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# A library of one subsystem: every .cpp in the folder, headers reached as "<subsystem>/x.h".
function(chimewell_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  chimewell_warnings(${name})
endfunction()
