# kelvra_add_test(NAME target SOURCES ... LIBS ...)
# Builds one GoogleTest program and registers its tests with CTest.
function(kelvra_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT KELVRA_BUILD_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE KELVRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kelvra_embed_text(OUTPUT file.cpp NAMESPACE ns FUNCTION fn FILES ...)
# Compiles text files into a C++ source as a table of {file name, contents}.
function(kelvra_embed_text)
  cmake_parse_arguments(E "" "OUTPUT;NAMESPACE;FUNCTION" "FILES" ${ARGN})
  add_custom_command(
    OUTPUT ${E_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${E_OUTPUT} -DNAMESPACE=${E_NAMESPACE} -DFUNCTION=${E_FUNCTION}
            "-DFILES=${E_FILES}" -P ${CMAKE_SOURCE_DIR}/cmake/EmbedText.cmake
    DEPENDS ${E_FILES} ${CMAKE_SOURCE_DIR}/cmake/EmbedText.cmake
    COMMENT "Embedding ${E_FUNCTION} texts"
    VERBATIM)
endfunction()
