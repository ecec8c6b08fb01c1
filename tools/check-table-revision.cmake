# The generated tables carry the game revisions they were converted from: each stamp must equal the
# revision the converters pin, so that a table regenerated from another revision (or edited by hand
# with a stale stamp) is caught.
#   cmake -DROOT=REPOSITORY_ROOT -P tools/check-table-revision.cmake

function(pinned file variable out)
  file(STRINGS "${ROOT}/${file}" lines REGEX "^${variable} = \"[0-9a-f]+\"")
  list(LENGTH lines count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${file}: expected one pinned ${variable}, found ${count}")
  endif()
  string(REGEX REPLACE "^${variable} = \"([0-9a-f]+)\".*" "\\1" revision "${lines}")
  set(${out} "${revision}" PARENT_SCOPE)
endfunction()

function(expect_stamp file stamp)
  file(STRINGS "${ROOT}/${file}" lines REGEX "^// (Game revision|Converted by tools/)")
  if(NOT lines STREQUAL stamp)
    message(FATAL_ERROR "${file}: the stamp says\n  ${lines}\nbut the converters pin\n  ${stamp}\n"
                        "Regenerate the table with the pinned revision (tools/regenerate-tables.sh).")
  endif()
endfunction()

pinned(tools/game109.py REVISION game)
pinned(tools/convert-pack-items.py DEVILUTIONX_REVISION devilutionx)
expect_stamp(src/generate/GameData109.h "// Game revision: ${game}")
expect_stamp(tests/support/GameItems.cpp
             "// Converted by tools/convert-pack-items.py from DevilutionX revision ${devilutionx} and 1.09 revision ${game}.")
message(STATUS "tables stamped with the pinned revisions: ${game}, ${devilutionx}")
