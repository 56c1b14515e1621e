# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Skyvane developers
#
# Fails when the source folders include each other in a circle (a includes b, b includes a,
# or any longer ring). Each folder may use the ones below it, never the other way round, so a
# folder can be understood and tested on top of what it uses.
#
# cmake -DROOT=<source dir> [-DFOLDERS="app|beacon|..."] -P this-file
# Without FOLDERS, every folder of ROOT with its own CMakeLists.txt except tests/ is checked.

cmake_minimum_required(VERSION 3.25)

if(FOLDERS)
    string(REPLACE "|" ";" folders "${FOLDERS}")
else()
    file(GLOB lists RELATIVE "${ROOT}" "${ROOT}/*/CMakeLists.txt")
    set(folders "")
    foreach(list IN LISTS lists)
        get_filename_component(folder "${list}" DIRECTORY)
        if(NOT folder STREQUAL "tests")
            list(APPEND folders "${folder}")
        endif()
    endforeach()
endif()
list(LENGTH folders count)
if(count EQUAL 0)
    message(FATAL_ERROR "no folders were given")
endif()

# edges_<folder>: the folders it includes; why_<folder>_<other>: one file that does it.
foreach(folder IN LISTS folders)
    set(edges_${folder} "")
    file(GLOB_RECURSE files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS lines)
            if(line MATCHES "\"([A-Za-z0-9_]+)/")
                set(other "${CMAKE_MATCH_1}")
                if(NOT other STREQUAL folder AND other IN_LIST folders
                   AND NOT other IN_LIST edges_${folder})
                    list(APPEND edges_${folder} "${other}")
                    file(RELATIVE_PATH rel "${ROOT}" "${file}")
                    set(why_${folder}_${other} "${rel}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

# Peel off folders that include no folder still left; whatever cannot be peeled lies on a ring.
set(left ${folders})
set(progress TRUE)
while(progress AND left)
    set(progress FALSE)
    foreach(folder IN LISTS left)
        set(blocked FALSE)
        foreach(other IN LISTS edges_${folder})
            if(other IN_LIST left)
                set(blocked TRUE)
            endif()
        endforeach()
        if(NOT blocked)
            list(REMOVE_ITEM left "${folder}")
            set(progress TRUE)
        endif()
    endforeach()
endwhile()

# Then those that no folder still left includes: they only lead into a ring, they are not on it.
set(progress TRUE)
while(progress AND left)
    set(progress FALSE)
    foreach(folder IN LISTS left)
        set(used FALSE)
        foreach(user IN LISTS left)
            if(folder IN_LIST edges_${user})
                set(used TRUE)
            endif()
        endforeach()
        if(NOT used)
            list(REMOVE_ITEM left "${folder}")
            set(progress TRUE)
        endif()
    endforeach()
endwhile()

if(left)
    set(ring "")
    foreach(folder IN LISTS left)
        foreach(other IN LISTS edges_${folder})
            if(other IN_LIST left)
                list(APPEND ring "${folder} -> ${other} (${why_${folder}_${other}})")
            endif()
        endforeach()
    endforeach()
    list(JOIN ring "\n  " text)
    message(FATAL_ERROR "folders include each other in a circle:\n  ${text}")
endif()
message(STATUS "${count} folders include each other one way only")
