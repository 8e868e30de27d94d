# Run by CPack between installing into its staging folder and building the package: Debian keeps a
# game's programs in /usr/games, so the launcher moves there from bin/ (`cmake --install` keeps bin/,
# which is on a user's PATH). The launcher finds the rest of the game through ../, the same from both.
file(GLOB_RECURSE candidates "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/skyrings")
foreach(launcher ${candidates})
    get_filename_component(bin_dir ${launcher} DIRECTORY)
    get_filename_component(bin_name ${bin_dir} NAME)
    if(NOT bin_name STREQUAL "bin")
        continue()
    endif()
    get_filename_component(prefix_dir ${bin_dir} DIRECTORY)
    file(MAKE_DIRECTORY ${prefix_dir}/games)
    file(RENAME ${launcher} ${prefix_dir}/games/skyrings)
    file(GLOB left ${bin_dir}/*)
    if(NOT left)
        file(REMOVE_RECURSE ${bin_dir})
    endif()
endforeach()
