# Resources: the resource compiler kvrc (tools/rc) and kv_add_resources,
# which compiles a resource script into a C++ source with the module's
# resource table and adds it to a target.
#
#   kv_add_resources(<target> MODULE <name> INSTANCE <function> SCRIPT <file.rc>)
#
# The target then defines `HINSTANCE <function>()`, the module's instance
# handle for FindResource, LoadCursor and the like; the module registers at
# start-up under <name> (os::ModuleHandle finds it). The generated source is
# rebuilt when the script or any file it names changes. The formats are
# described in resources/README.md.

add_executable(kvrc ${CMAKE_SOURCE_DIR}/tools/rc/kvrc.cpp)

function(kv_add_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 RES "" "MODULE;INSTANCE;SCRIPT" "")
  if(NOT RES_MODULE OR NOT RES_INSTANCE OR NOT RES_SCRIPT)
    message(FATAL_ERROR "kv_add_resources(${target}): MODULE, INSTANCE and SCRIPT are required")
  endif()
  get_filename_component(script "${RES_SCRIPT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(out "${CMAKE_BINARY_DIR}/resources/${RES_MODULE}_${RES_INSTANCE}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND kvrc --module "${RES_MODULE}" --instance "${RES_INSTANCE}"
            --depfile "${out}.d" -o "${out}" "${script}"
    DEPENDS kvrc "${script}"
    DEPFILE "${out}.d"
    COMMENT "Compiling resources of ${RES_MODULE}"
    VERBATIM)
  # A target of its own runs the command, so that the target may live in
  # another directory than this call.
  set(gen ${target}_${RES_MODULE}_resources)
  add_custom_target(${gen} DEPENDS "${out}")
  set_source_files_properties("${out}" PROPERTIES GENERATED TRUE)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    # A static library's member is linked only when something refers to it,
    # but the table must register even when the module is only looked up
    # by name: the table's object goes on the link line of every program
    # and shared library that links the target.
    add_library(${gen}_object OBJECT "${out}")
    add_dependencies(${gen}_object ${gen})
    target_include_directories(${gen}_object PRIVATE ${CMAKE_SOURCE_DIR}/platform/include)
    target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:${gen}_object>)
    add_dependencies(${target} ${gen}_object)
  else()
    add_dependencies(${target} ${gen})
    target_sources(${target} PRIVATE "${out}")
  endif()
endfunction()

# The platform library's own resources (its cursors) and those of the
# system it stands in for (the standard cursors), attached once the
# library's target exists.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL
  kv_add_resources vcl30 MODULE vcl30 INSTANCE Vcl30Instance
  SCRIPT ${CMAKE_SOURCE_DIR}/resources/vcl30/vcl30.rc)
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL
  kv_add_resources vcl30 MODULE user32 INSTANCE User32Instance
  SCRIPT ${CMAKE_SOURCE_DIR}/resources/system/user32.rc)

# The platform tests have a module of their own with fixture resources, and
# run kvrc itself to see how it treats bad sources.
function(kv_add_test_resources)
  if(TARGET platform_tests)
    kv_add_resources(platform_tests MODULE fixtures INSTANCE FixturesInstance
      SCRIPT ${CMAKE_SOURCE_DIR}/tests/platform/resource_fixtures/fixtures.rc)
    target_compile_definitions(platform_tests PRIVATE
      KVRC_EXE="$<TARGET_FILE:kvrc>"
      KV_RESOURCE_FIXTURES="${CMAKE_SOURCE_DIR}/tests/platform/resource_fixtures")
    add_dependencies(platform_tests kvrc)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kv_add_test_resources)
