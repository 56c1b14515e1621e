# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Skyvane developers
#
# Fails when a source of skyvane_core includes a header of a Qt module other than Qt Core,
# directly or through any of our own headers it includes. The core library must build and be
# tested without a window system.
#
# cmake -DSOURCES="a.cpp|b.h|..." -DROOT=<source dir> -DQT_INCLUDE=<Qt include dir> -P this-file

cmake_minimum_required(VERSION 3.25)

set(forbidden QtGui QtWidgets QtPrintSupport QtNetwork QtSvg QtTest)
string(REPLACE "|" ";" queue "${SOURCES}")
list(LENGTH queue count)
if(count EQUAL 0)
    message(FATAL_ERROR "no sources of skyvane_core were given")
endif()
if(NOT IS_DIRECTORY "${QT_INCLUDE}/QtGui")
    message(FATAL_ERROR "Qt's header folder ${QT_INCLUDE} has no QtGui folder to compare with")
endif()

set(seen "")
set(bad "")
while(queue)
    list(POP_FRONT queue file)
    if(file IN_LIST seen OR NOT EXISTS "${file}")
        continue()
    endif()
    list(APPEND seen "${file}")
    get_filename_component(folder "${file}" DIRECTORY)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "<([^>]+)>")
            set(header "${CMAKE_MATCH_1}")
            foreach(module IN LISTS forbidden)
                if(header MATCHES "^${module}/" OR EXISTS "${QT_INCLUDE}/${module}/${header}")
                    list(APPEND bad "${file}: <${header}> is part of ${module}")
                endif()
            endforeach()
        elseif(line MATCHES "\"([^\"]+)\"")
            set(header "${CMAKE_MATCH_1}")
            if(EXISTS "${ROOT}/${header}")
                list(APPEND queue "${ROOT}/${header}")
            elseif(EXISTS "${folder}/${header}")
                list(APPEND queue "${folder}/${header}")
            endif()
        endif()
    endforeach()
endwhile()

list(LENGTH seen checked)
if(bad)
    list(JOIN bad "\n  " text)
    message(FATAL_ERROR "skyvane_core must use Qt Core only:\n  ${text}")
endif()
message(STATUS "${checked} files of skyvane_core include nothing beyond Qt Core")
