# One library per source folder. A folder's headers are visible only to the
# targets that link it, so an include that skips the layer order fails to build.
#
#   mirvo_layer(<target> [GBK] [DEPENDS <layer targets>...] [LIBS <private libs>...]
#               [PUBLIC_LIBS <libs>...])
#
# GBK compiles the folder's narrow string literals to code page 936, the
# program's text encoding, so Chinese texts in UTF-8 sources reach it unchanged
# in meaning. Platform folders stay in UTF-8 and convert at their edges.
function(mirvo_layer target)
  cmake_parse_arguments(L "GBK" "" "DEPENDS;LIBS;PUBLIC_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c ${CMAKE_CURRENT_SOURCE_DIR}/*.S)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${L_DEPENDS} ${L_PUBLIC_LIBS} PRIVATE ${L_LIBS})
    if(L_GBK)
      target_compile_options(${target} PRIVATE -fexec-charset=GBK)
    endif()
  else()
    # A folder without sources yet still takes its place in the order.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${L_DEPENDS} ${L_PUBLIC_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY MIRVO_LAYERS ${target})
  set_property(TARGET ${target} PROPERTY MIRVO_GBK ${L_GBK})
endfunction()
