# Rooms: each folder under src/ is one library, percorso_<room>, linked only along
# the arrows its CMakeLists.txt declares. The build fails when a declared arrow, or
# an #include line in a room's sources, goes where a room must never go.
#
# A new room: src/<room>/CMakeLists.txt with
#   percorso_stanza(<room> DIPENDE <rooms it uses>)
# and add_subdirectory(src/<room>) in the top CMakeLists.txt, after the rooms it uses.
# A new feature room also goes into PERCORSO_FUNZIONI below.

# The features: none may depend on another.
set(PERCORSO_FUNZIONI inspect plot checker documents page tempi decompile)

# Arrows that must never be, as "from:to"; * stands for any room.
set(PERCORSO_FRECCE_VIETATE
  "model:*"
  "compiler:platform" "placement:platform" "format:platform"
  "format:compiler" "checker:compiler"
  "inspect:compiler" "tempi:platform")

# Rooms that may use no room but model.
set(PERCORSO_SOLO_MODELLO sintassi)

# Whether the arrow from -> to is forbidden; the reason in the variable named by esito.
function(percorso_freccia_vietata da a esito)
  set(motivo "")
  if(a STREQUAL "cli" AND NOT da STREQUAL "cli")
    set(motivo "only cli may depend on cli")
  elseif(da IN_LIST PERCORSO_FUNZIONI AND a IN_LIST PERCORSO_FUNZIONI AND NOT da STREQUAL a)
    set(motivo "a feature may not depend on another feature")
  elseif(da IN_LIST PERCORSO_SOLO_MODELLO AND NOT a STREQUAL "model" AND NOT da STREQUAL a)
    set(motivo "${da} may depend on model only")
  else()
    foreach(regola IN LISTS PERCORSO_FRECCE_VIETATE)
      string(REPLACE ":" ";" coppia "${regola}")
      list(GET coppia 0 r_da)
      list(GET coppia 1 r_a)
      if(r_da STREQUAL da AND (r_a STREQUAL "*" OR r_a STREQUAL a) AND NOT da STREQUAL a)
        set(motivo "${da} may never depend on ${r_a}")
      endif()
    endforeach()
  endif()
  set(${esito} "${motivo}" PARENT_SCOPE)
endfunction()

# percorso_stanza(<room> [DIPENDE <room>...]): the library of src/<room>, built from
# every .cc there (none: a header-only library), linked to the rooms it uses.
function(percorso_stanza nome)
  cmake_parse_arguments(PARSE_ARGV 1 S "" "" "DIPENDE")
  # The arrows of the rooms it uses count as its own: no forbidden arrow by a detour.
  set(tutte ${S_DIPENDE})
  foreach(d IN LISTS S_DIPENDE)
    if(NOT TARGET percorso_${d})
      message(FATAL_ERROR "room ${nome}: room ${d} is not defined yet (add_subdirectory order)")
    endif()
    get_property(indirette GLOBAL PROPERTY PERCORSO_DIPENDE_${d})
    list(APPEND tutte ${indirette})
  endforeach()
  list(REMOVE_DUPLICATES tutte)
  foreach(d IN LISTS tutte)
    percorso_freccia_vietata(${nome} ${d} motivo)
    if(motivo)
      message(FATAL_ERROR "room ${nome} -> ${d}: ${motivo}")
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY PERCORSO_DIPENDE_${nome} ${tutte})
  set_property(GLOBAL APPEND PROPERTY PERCORSO_STANZE ${nome})

  file(GLOB sorgenti CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  list(REMOVE_ITEM sorgenti ${CMAKE_CURRENT_SOURCE_DIR}/main.cc)
  set(librerie "")
  foreach(d IN LISTS S_DIPENDE)
    list(APPEND librerie percorso_${d})
  endforeach()
  if(sorgenti)
    add_library(percorso_${nome} STATIC ${sorgenti})
    target_include_directories(percorso_${nome} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(percorso_${nome} PUBLIC ${librerie})
  else()
    add_library(percorso_${nome} INTERFACE)
    target_include_directories(percorso_${nome} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(percorso_${nome} INTERFACE ${librerie})
  endif()
endfunction()

# The check of every #include line against the declared arrows, run by each build:
# writes the table of rooms and arrows, and a target that percorso depends on.
function(percorso_controllo_stanze)
  get_property(stanze GLOBAL PROPERTY PERCORSO_STANZE)
  set(tabella "set(STANZE ${stanze})\n")
  foreach(s IN LISTS stanze)
    get_property(dipende GLOBAL PROPERTY PERCORSO_DIPENDE_${s})
    string(APPEND tabella "set(DIPENDE_${s} ${dipende})\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/stanze_tabella.cmake "${tabella}")
  add_custom_target(controllo_stanze ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${PROJECT_SOURCE_DIR}/src
            -DTABELLA=${CMAKE_BINARY_DIR}/stanze_tabella.cmake
            -P ${PROJECT_SOURCE_DIR}/cmake/controlla_include.cmake
    COMMENT "Checking the #include lines of each room against its arrows"
    VERBATIM)
endfunction()
