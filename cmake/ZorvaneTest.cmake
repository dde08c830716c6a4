# zorvane_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>])
# One small QtTest executable per test, run under the offscreen platform
# against a private config directory so no test touches the user's store.
# Tests run in parallel; one labelled "cups" (it prints through the shared
# CUPS queues and looks for its PDF among theirs) or "display" (it starts
# programs on the shared X server) runs alone.
# A test on the core alone reuses the core's precompiled Qt headers; one that
# links printing or widgets reuses the front end's.
function(zorvane_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test zorvane_test_support zorvane_options ${ARG_LIBS})
    set(headers core)
    foreach(lib IN LISTS ARG_LIBS)
        if(NOT lib MATCHES "^zorvane_(core|test_support)$")
            set(headers widgets)
        endif()
    endforeach()
    zorvane_precompile_headers(${name} ${headers})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        LABELS "${ARG_LABELS}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name};ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/fuzz/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
        TIMEOUT 300)
    if("cups" IN_LIST ARG_LABELS OR "display" IN_LIST ARG_LABELS)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
