# The floors of the tree: every folder of Sources/ is one target that names the targets it
# uses, and nothing else. The graph is written to the build tree, where the include check
# (kelvo-layers) holds every `#include` of Sources/ against it.

# Records that a folder of Sources/ is the target `name`, using the targets in USES.
function(kelvo_layer folder name)
    cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
    string(REPLACE ";" " " uses "${ARG_USES}")
    set_property(GLOBAL APPEND PROPERTY KELVO_LAYERS "${folder} ${name} ${uses}")
endfunction()

# A folder's library: the folder's own sources (not its sub-folders'), the targets of ours it
# USES and the packages it LINKS.
function(kelvo_library folder)
    cmake_parse_arguments(ARG "" "" "USES;LINKS" ${ARGN})
    string(REPLACE "/" "" name ${folder})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Sources/${folder}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        set(scope PUBLIC)
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_include_directories(${name} ${scope} ${CMAKE_SOURCE_DIR}/Sources)
    target_link_libraries(${name} ${scope} ${ARG_USES} ${ARG_LINKS})
    kelvo_layer(${folder} ${name} USES ${ARG_USES})
endfunction()

# Writes the graph, one folder a line: the folder, its target, the targets it uses.
function(kelvo_write_layers path)
    get_property(layers GLOBAL PROPERTY KELVO_LAYERS)
    string(REPLACE ";" "\n" text "${layers}")
    file(WRITE ${path} "${text}\n")
endfunction()
