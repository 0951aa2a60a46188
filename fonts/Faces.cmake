# The faces the board is drawn with travel inside the program: subsets of faces that share the
# metrics of the design's, cut at build time with fontTools from the Debian font packages (build
# inputs only, see scripts/debian-packages) down to the characters the board can show.
#
#   vexilo_add_faces(<out-var>) makes the subsets in the calling directory's build folder and
#   sets <out-var> to their paths. A file's name without its extension is its resource name;
#   names and families are those of kEmbeddedFaces (window/Font.h).

set(VEXILO_FACE_UME_P_GOTHIC /usr/share/fonts/truetype/horai-umefont/ume-pgo4.ttf
  CACHE FILEPATH "Ume P Gothic (Debian: fonts-horai-umefont)")
set(VEXILO_FACE_NOTO_SERIF_BOLD /usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc
  CACHE FILEPATH "Noto Serif CJK Bold collection (Debian: fonts-noto-cjk)")
set(VEXILO_FACE_NOTO_SANS_BOLD /usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc
  CACHE FILEPATH "Noto Sans CJK Bold collection (Debian: fonts-noto-cjk)")
# Debian's own Python, which python3-fonttools installs into (a python3 earlier on PATH may lack it).
set(VEXILO_FONTTOOLS_PYTHON /usr/bin/python3
  CACHE FILEPATH "A Python 3 with fontTools (Debian: python3-fonttools)")

# Printable ASCII, then the decimal separators regional settings may give beyond "." and ",":
# the no-break space, the Arabic decimal separator and the narrow no-break space. A separator a
# source face lacks is left out; the labels draw it in a fallback face.
set(VEXILO_FACE_UNICODES "20-7E,A0,66B,202F")

# Output file, source, the face in it, the family name the subset goes by.
set(VEXILO_FACES
  pgothic.ttf "${VEXILO_FACE_UME_P_GOTHIC}" "Ume P Gothic" "Vexilo P Gothic"
  serif.otf "${VEXILO_FACE_NOTO_SERIF_BOLD}" "Noto Serif CJK JP Bold" "Vexilo Serif"
  sans.otf "${VEXILO_FACE_NOTO_SANS_BOLD}" "Noto Sans CJK JP Bold" "Vexilo Sans")

set(VEXILO_FACE_LICENCES ${CMAKE_CURRENT_LIST_DIR}/LICENSES.txt)

function(vexilo_add_faces out_var)
  execute_process(COMMAND ${VEXILO_FONTTOOLS_PYTHON} -c "import fontTools"
    RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
  if(missing)
    message(FATAL_ERROR "${VEXILO_FONTTOOLS_PYTHON} cannot import fontTools: install "
      "python3-fonttools (scripts/setup) or set VEXILO_FONTTOOLS_PYTHON")
  endif()
  set(script ${PROJECT_SOURCE_DIR}/fonts/subset-face)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/faces)
  set(outputs "")
  list(LENGTH VEXILO_FACES length)
  foreach(first RANGE 0 ${length} 4)
    if(first EQUAL length)
      break()
    endif()
    list(SUBLIST VEXILO_FACES ${first} 4 face)
    list(GET face 0 file)
    list(GET face 1 source)
    list(GET face 2 member)
    list(GET face 3 family)
    if(NOT EXISTS "${source}")
      message(FATAL_ERROR "The face \"${member}\" is not at ${source}: install the font "
        "packages of scripts/debian-packages (scripts/setup)")
    endif()
    add_custom_command(OUTPUT ${dir}/${file}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${VEXILO_FONTTOOLS_PYTHON} ${script} ${source} ${member} ${family}
              ${VEXILO_FACE_UNICODES} ${dir}/${file}
      DEPENDS ${script} ${source}
      COMMENT "Cutting ${member} down to the board's characters as ${family}"
      VERBATIM)
    list(APPEND outputs ${dir}/${file})
  endforeach()
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()
