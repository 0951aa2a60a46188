# The faces the board is drawn with travel inside the program: subsets of faces that share the
# metrics of the design's, cut down to the characters the board can show and kept in this
# folder (fonts/faces.toml names them and the recipe that cut them), so that no build needs
# fontTools or the source fonts.
#
#   vexilo_add_faces(<out-var>) sets <out-var> to the kept faces' paths. A file's name without
#   its extension is its resource name; names and families are those of kEmbeddedFaces
#   (window/Font.h).


function(vexilo_add_faces out_var)
  set(recipe ${PROJECT_SOURCE_DIR}/fonts/faces.toml)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${recipe})
  file(STRINGS ${recipe} lines REGEX "^file = \"[^\"]+\"$")
  set(outputs "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^file = \"([^\"]+)\"$" "${PROJECT_SOURCE_DIR}/fonts/\\1" file "${line}")
    list(APPEND outputs ${file})
  endforeach()
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()
