# The floors of the tree: every folder of Sources/ is one target that names the targets it
# uses, and nothing else. The graph is written to the build tree, where the layer check
# (kelvo-layers) holds every `#include` of Sources/, and every class declared ahead, against it.

# Records that a folder of Sources/ is the target `name`, using the targets in USES.
function(kelvo_layer folder name)
    cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
    string(REPLACE ";" " " uses "${ARG_USES}")
    set_property(GLOBAL APPEND PROPERTY KELVO_LAYERS "${folder} ${name} ${uses}")
endfunction()

# The library `name` of the sources in `directory` (not its sub-folders'), an interface library
# when it has none, whose users include from `root` and which links what follows USES.
function(kelvo_folder_library name directory root)
    cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${directory}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        set(scope PUBLIC)
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_include_directories(${name} ${scope} ${root})
    target_link_libraries(${name} ${scope} ${ARG_USES})
endfunction()

# A folder's library: the folder's own sources, the targets of ours it USES and the packages it
# LINKS.
function(kelvo_library folder)
    cmake_parse_arguments(ARG "" "" "USES;LINKS" ${ARGN})
    string(REPLACE "/" "" name ${folder})
    kelvo_folder_library(${name} ${CMAKE_SOURCE_DIR}/Sources/${folder} ${CMAKE_SOURCE_DIR}/Sources
                         USES ${ARG_USES} ${ARG_LINKS})
    kelvo_layer(${folder} ${name} USES ${ARG_USES})
endfunction()

# Writes the graph, one folder a line: the folder, its target, the targets it uses.
function(kelvo_write_layers path)
    get_property(layers GLOBAL PROPERTY KELVO_LAYERS)
    string(REPLACE ";" "\n" text "${layers}")
    file(WRITE ${path} "${text}\n")
endfunction()
