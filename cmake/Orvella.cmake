# Shared target helpers: every library, program and test gets the same
# warnings, include root and sanitizer flags.

set(ORVELLA_ROOT ${CMAKE_SOURCE_DIR})

function(ova_apply_common target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-multichar)
  target_include_directories(${target} PUBLIC ${ORVELLA_ROOT})
  if(ORVELLA_DESKTOP_VARIANT)
    target_compile_definitions(${target} PUBLIC ORVELLA_DESKTOP_VARIANT=1)
  endif()
  if(ORVELLA_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(ORVELLA_FUZZ)
    target_compile_options(${target} PUBLIC -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# ova_library(NAME DEPS lib...): a static library of every .cpp in the
# calling folder except main.cpp.
function(ova_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  ova_apply_common(${name})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# ova_program(NAME SOURCES file... DEPS lib...)
function(ova_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  qt_add_executable(${name} ${ARG_SOURCES})
  ova_apply_common(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# Environment every test runs in: headless Qt, fixed zone and locale.
set(ORVELLA_TEST_ENV "QT_QPA_PLATFORM=offscreen;TZ=Europe/Berlin;LC_ALL=C.UTF-8;ORVELLA_BIN_DIR=${CMAKE_BINARY_DIR}/bin")

# ova_test(NAME SOURCES file... DEPS lib... [DBUS] [XVFB])
# A GoogleTest program; DBUS runs the whole program on a private session bus,
# XVFB on such a bus inside a private X server (for programs that tests click).
# The bus starts no services (tests/session-bus.conf).
set(ORVELLA_TEST_BUS dbus-run-session --config-file=${CMAKE_SOURCE_DIR}/tests/session-bus.conf --)
function(ova_test name)
  cmake_parse_arguments(ARG "DBUS;XVFB" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  ova_apply_common(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_XVFB)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 800x600x24" ${ORVELLA_TEST_BUS} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ORVELLA_TEST_ENV}" TIMEOUT 300)
  elseif(ARG_DBUS)
    add_test(NAME ${name} COMMAND ${ORVELLA_TEST_BUS} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ORVELLA_TEST_ENV}" TIMEOUT 300)
  else()
    # Discovered tests lose all but the first entry of a list-valued
    # ENVIRONMENT property, so each test runs through env(1) instead.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "env;${ORVELLA_TEST_ENV}")
    gtest_discover_tests(${name} PROPERTIES TIMEOUT 120
                         DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()

# Where an installation keeps the programs, relative to the prefix: a
# folder of their own, since their dictionaries go into "Dictionaries"
# beside them, where the language menus look. A link in the bin folder puts
# each program on PATH; the programs find that folder through the link.
set(ORVELLA_PROGRAM_INSTALL_DIR "${CMAKE_INSTALL_LIBEXECDIR}/orvella")

# ova_install_program(NAME): installs the program and its link in bin.
function(ova_install_program name)
  install(TARGETS ${name} RUNTIME DESTINATION ${ORVELLA_PROGRAM_INSTALL_DIR})
  file(RELATIVE_PATH target /${CMAKE_INSTALL_BINDIR} /${ORVELLA_PROGRAM_INSTALL_DIR}/${name})
  set(link ${CMAKE_BINARY_DIR}/install-links/${name})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
  install(FILES ${link} TYPE BIN)
endfunction()
