# Shared build helpers: the test registration every folder uses.

# Name of this configuration in test names, so that one CTest run over all builds stays readable.
if(NOT SCRKIT_CONFIG_NAME)
  if(SCRKIT_FUZZ)
    set(SCRKIT_CONFIG_NAME fuzz)
  elseif(WIN32)
    set(SCRKIT_CONFIG_NAME win64)
  elseif(SCRKIT_SANITIZE)
    set(SCRKIT_CONFIG_NAME asan)
  else()
    set(SCRKIT_CONFIG_NAME native)
  endif()
endif()

# Windows test programs run under Wine through the harness; the prefix is prepared once per run.
set(SCRKIT_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/harness/wine-run --state ${SCRKIT_WINE_STATE})
endif()

# scrkit_add_gtest(NAME SOURCES src... [LIBS lib...] [WINE_TIMEOUT seconds] [PROPERTIES ...])
# Natively every test case becomes a CTest test; under Wine each program is one test, because
# starting a Windows process per case would cost more than the cases themselves.
function(scrkit_add_gtest name)
  cmake_parse_arguments(ARG "" "WINE_TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE SCRKIT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             SCRKIT_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(WIN32)
    # A unit test program takes seconds under Wine; wine-run stops it at its limit and reports
    # what it was still doing, before CTest's own limit would kill it without a word.
    if(NOT ARG_WINE_TIMEOUT)
      set(ARG_WINE_TIMEOUT 60)
    endif()
    math(EXPR ctest_limit "${ARG_WINE_TIMEOUT} + 30")
    add_test(NAME ${SCRKIT_CONFIG_NAME}.${name}
             COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/harness/wine-run --state ${SCRKIT_WINE_STATE}
                     --timeout ${ARG_WINE_TIMEOUT} $<TARGET_FILE:${name}>)
    set_tests_properties(${SCRKIT_CONFIG_NAME}.${name} PROPERTIES FIXTURES_REQUIRED wine
                         TIMEOUT ${ctest_limit} ${ARG_PROPERTIES})
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} TEST_PREFIX ${SCRKIT_CONFIG_NAME}. DISCOVERY_MODE PRE_TEST
                         DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
  endif()
endfunction()

# scrkit_freestanding_program(TARGET ENTRY): a Windows program without the C runtime, with its
# own entry point, no exceptions, no RTTI and no static constructors.
function(scrkit_freestanding_program target entry)
  target_compile_options(${target} PRIVATE -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                         -fno-unwind-tables -fno-stack-protector -fno-threadsafe-statics
                         -ffunction-sections -fdata-sections -fno-builtin -mno-stack-arg-probe)
  target_link_options(${target} PRIVATE -nostdlib -nostartfiles -Wl,-e,${entry} -Wl,--gc-sections -s
                      -Wl,--no-insert-timestamp -Wl,--disable-runtime-pseudo-reloc)
  # Only Windows' own import libraries; libgcc supplies the few compiler helpers.
  set_property(TARGET ${target} PROPERTY LINKER_LANGUAGE C)
  target_link_libraries(${target} PRIVATE gcc)
endfunction()

# scrkit_check_program(TARGET [MAX_BYTES]): tests that a Windows program imports only system DLLs
# and, when a limit is given, that it stays within it.
function(scrkit_check_program target)
  add_test(NAME ${SCRKIT_CONFIG_NAME}.imports.${target}
           COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/harness/check-imports $<TARGET_FILE:${target}>)
  if(ARGC GREATER 1)
    add_test(NAME ${SCRKIT_CONFIG_NAME}.size.${target}
             COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}> -DMAX=${ARGV1}
                     -P ${CMAKE_SOURCE_DIR}/cmake/CheckFileSize.cmake)
  endif()
endfunction()
