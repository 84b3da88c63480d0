# Run by ctest as `cmake -P`: the includes that would cross a layer yet still
# compile, since every library sees all of src/ and the Qt include root.
#   SRC          the src folder
#   CORE_LIST    file naming orvel_core's sources, one a line
#   UI_LIST      file naming the windows' sources, one a line
cmake_minimum_required(VERSION 3.21)
set(faults "")

# "dir/Name.h" or <Name> of each #include line of a file.
function(included_names file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# orvel_core links no widget module, so <QWidget> fails to build there, yet
# <QtWidgets/QWidget> and a windows header that itself includes no widget
# (platform/Prompts.h, platform/WidgetPrompts.h) would not.
file(STRINGS "${UI_LIST}" uiSources)
set(uiHeaders "")
foreach(source IN LISTS uiSources)
  if(source MATCHES "\\.h$" AND source MATCHES "^${SRC}/")
    file(RELATIVE_PATH header "${SRC}" "${source}")
    list(APPEND uiHeaders "${header}")
  endif()
endforeach()
file(STRINGS "${CORE_LIST}" coreSources)
foreach(source IN LISTS coreSources)
  if(NOT source MATCHES "^${SRC}/" OR NOT EXISTS "${source}")
    continue()   # generated: moc, resources
  endif()
  included_names("${source}" names)
  foreach(name IN LISTS names)
    if(name MATCHES "^Qt(Gui|Widgets|PrintSupport|Svg)(/|$)" OR name IN_LIST uiHeaders)
      string(APPEND faults "  ${source}: orvel_core includes the windows' ${name}\n")
    elseif(name MATCHES "^platform/(Widget)?Prompts\\.h$")
      # Even were the prompts listed back into orvel_core: it says what it found, the windows ask.
      string(APPEND faults "  ${source}: orvel_core asks the user through ${name}\n")
    endif()
  endforeach()
endforeach()

# The platform layer knows no application: it reads no text of the program and
# includes nothing from its folders. The grid still reads its rows through the store.
file(GLOB_RECURSE platformFiles "${SRC}/platform/*.h" "${SRC}/platform/*.cpp")
foreach(source IN LISTS platformFiles)
  included_names("${source}" names)
  foreach(name IN LISTS names)
    if(name MATCHES "^([a-z]+)/" AND NOT CMAKE_MATCH_1 MATCHES "^(platform|store)$")
      string(APPEND faults "  ${source}: the platform layer includes ${name}\n")
    endif()
  endforeach()
  file(STRINGS "${source}" textReads REGEX "Texts::")
  if(textReads)
    string(APPEND faults "  ${source}: the platform layer reads the program's texts\n")
  endif()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes across layers:\n${faults}")
endif()
list(LENGTH coreSources coreCount)
list(LENGTH platformFiles platformCount)
message(STATUS "Layers kept: ${coreCount} orvel_core sources, ${platformCount} platform files")
