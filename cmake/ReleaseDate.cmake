# The release date as seconds since 1970, read from the trailer line of the changelog's newest
# entry (" -- Maker <address>  Tue, 08 Dec 2026 12:00:00 +0000"), the project's own record of when
# each version was released. Computed here, with no date program, so that every build host reads
# the same number from the same file.
function(brindle_release_epoch changelog out)
    file(STRINGS ${changelog} trailer REGEX "^ -- " LIMIT_COUNT 1)
    set(date "([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])")
    set(time "([0-9][0-9]):([0-9][0-9]):([0-9][0-9]) ([+-])([0-9][0-9])([0-9][0-9])")
    if(NOT trailer MATCHES ">  [A-Z][a-z][a-z], ${date} ${time}$")
        message(FATAL_ERROR "${changelog}: the newest entry has no dated trailer line")
    endif()
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    math(EXPR seconds "${CMAKE_MATCH_4} * 3600 + ${CMAKE_MATCH_5} * 60 + ${CMAKE_MATCH_6}")
    math(EXPR offset "${CMAKE_MATCH_7}(${CMAKE_MATCH_8} * 3600 + ${CMAKE_MATCH_9} * 60)")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    if(month LESS 0)
        message(FATAL_ERROR "${changelog}: '${CMAKE_MATCH_2}' is not a month")
    endif()
    # Days since 1970-01-01 in the proleptic Gregorian calendar, with years counted from March so
    # that a leap day is the last day of its year.
    if(month LESS 2)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR day_of_year "(153 * ((${month} + 10) % 12) + 2) / 5 + ${day} - 1")
    math(EXPR days
        "365 * ${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${day_of_year} - 719468")
    math(EXPR epoch "${days} * 86400 + ${seconds} - ${offset}")
    set(${out} ${epoch} PARENT_SCOPE)
endfunction()
