# Translations compiled into a program, for the Windows build, which has no Qt to load .qm files:
#   vorlane_compile_translation(TARGET TS_FILE NAME)
# makes the static library TARGET of the messages of TS_FILE (NAME_LANGUAGE.ts), which registers
# them with the dialog kit as the program starts, and links it whole into what links TARGET_WHOLE
# (an interface library): nothing refers to its table by name, so a plain link would drop it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(vorlane_compile_translation target ts name)
  get_filename_component(base ${ts} NAME_WE)
  string(REPLACE "${name}_" "" language ${base})
  set(script ${PROJECT_SOURCE_DIR}/cmake/compile-translation.py)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${base}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND Python3::Interpreter ${script} ${ts} ${output} ${name} ${language}
    DEPENDS ${ts} ${script}
    VERBATIM)
  add_library(${target} STATIC ${output})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_features(${target} PRIVATE cxx_std_20)
  # The kit after the table on the link line: the table calls it.
  if(TARGET vorlane_dialogkit)
    target_link_libraries(${target} PUBLIC vorlane_dialogkit)
  endif()
  add_library(${target}_whole INTERFACE)
  target_link_libraries(${target}_whole INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${target}>")
endfunction()
