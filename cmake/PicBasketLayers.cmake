# picbasket_layer(<target> <dir>... ) adds each component folder that has a
# CMakeLists.txt; a component adds its files with target_sources(<target> ...).
# A layer whose components have not yet added anything gets an empty unit so the
# static library can still be created.
macro(picbasket_components target)
  foreach(component ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${component}/CMakeLists.txt)
      add_subdirectory(${component})
    endif()
  endforeach()
  get_target_property(_srcs ${target} SOURCES)
  if(NOT _srcs)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
endmacro()
