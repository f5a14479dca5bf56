# Font sets for the layout tests: each is a fontconfig file that sees one family of fonts
# only, with its own cache, so a window is laid out as it would be on a desktop that has
# just those fonts.
function(glyphnab_font_set name sans mono)
  cmake_parse_arguments(ARG "" "" "DIRS" ${ARGN})
  set(folder "${CMAKE_BINARY_DIR}/fontsets/${name}")
  set(dirs "")
  foreach(dir IN LISTS ARG_DIRS)
    string(APPEND dirs "  <dir>${dir}</dir>\n")
  endforeach()
  set(aliases "")
  foreach(generic "sans-serif" "Sans Serif" "Sans" "serif" "system-ui")
    string(APPEND aliases "  <alias><family>${generic}</family><prefer><family>${sans}</family></prefer></alias>\n")
  endforeach()
  foreach(generic "monospace" "Monospace")
    string(APPEND aliases "  <alias><family>${generic}</family><prefer><family>${mono}</family></prefer></alias>\n")
  endforeach()
  file(WRITE "${folder}/fonts.conf"
       "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n"
       "${dirs}  <cachedir>${folder}/cache</cachedir>\n${aliases}</fontconfig>\n")
  set(GLYPHNAB_FONTSET_${name} "${folder}/fonts.conf" PARENT_SCOPE)
endfunction()

glyphnab_font_set(DejaVu "DejaVu Sans" "DejaVu Sans Mono" DIRS /usr/share/fonts/truetype/dejavu)
glyphnab_font_set(Noto "Noto Sans" "Noto Sans Mono" DIRS /usr/share/fonts/truetype/noto)
set(GLYPHNAB_FONT_SETS DejaVu Noto)

# Runs `program` once more per font set with only the tests that `filter` names.
function(glyphnab_font_set_tests program filter)
  foreach(set IN LISTS GLYPHNAB_FONT_SETS)
    add_test(NAME ${program}Layout${set} COMMAND ${program} --gtest_filter=${filter})
    set_tests_properties(${program}Layout${set} PROPERTIES LABELS "layout"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OMP_THREAD_LIMIT=1;FONTCONFIG_FILE=${GLYPHNAB_FONTSET_${set}}"
      TIMEOUT 600)
  endforeach()
endfunction()
