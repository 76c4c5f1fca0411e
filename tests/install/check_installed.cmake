# Installs the built program (HOW=install: cmake --install into a prefix;
# HOW=deb: the package of cpack -G DEB unpacked with dpkg-deb) below WORK and
# runs it as a user: the picture of a demo model is the one the build folder's
# program draws, the user folder is seeded, a missing or blocked home folder is
# reported without stopping the program, and nothing is written into the
# installed files.
cmake_minimum_required(VERSION 3.25)

# Stops with the message unless the condition (the further arguments) holds.
function(check message)
    if(NOT (${ARGN}))
        message(FATAL_ERROR "${message}")
    endif()
endfunction()

# Runs a command; the exit status, output and errors go into run_status,
# run_out and run_err.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(run_status "${status}" PARENT_SCOPE)
    set(run_out "${out}" PARENT_SCOPE)
    set(run_err "${err}" PARENT_SCOPE)
endfunction()

function(listing folder result)
    file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${folder} ${folder}/*)
    set(lines "")
    foreach(entry IN LISTS entries)
        file(TIMESTAMP ${folder}/${entry} stamp "%s")
        set(size "")
        if(NOT IS_DIRECTORY ${folder}/${entry})
            file(SIZE ${folder}/${entry} size)
        endif()
        list(APPEND lines "${entry} ${size} ${stamp}")
    endforeach()
    list(SORT lines)
    set(${result} "${lines}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
if(HOW STREQUAL "deb")
    run(${CMAKE_CPACK_COMMAND} -G DEB -B ${WORK}/package --config ${BUILD_DIR}/CPackConfig.cmake)
    check("cpack failed:\n${run_out}${run_err}" run_status EQUAL 0)
    file(GLOB deb ${WORK}/package/stonemill_*.deb)
    check("cpack made no stonemill_*.deb in ${WORK}/package" deb)
    run(dpkg-deb -f ${deb} Package Section Depends Recommends)
    message(STATUS "Package fields:\n${run_out}")
    foreach(field "Section: graphics" "qt6-qpa-plugins" "libqt6widgets6" "Recommends: povray, povray-includes")
        string(FIND "${run_out}" "${field}" at)
        check("The package lacks \"${field}\":\n${run_out}" at GREATER -1)
    endforeach()
    run(dpkg-deb -x ${deb} ${WORK}/root)
    check("dpkg-deb -x failed: ${run_err}" run_status EQUAL 0)
    set(prefix ${WORK}/root/usr)
else()
    set(prefix ${WORK}/prefix)
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
    check("cmake --install failed:\n${run_out}${run_err}" run_status EQUAL 0)
endif()

set(share ${prefix}/share)
foreach(file bin/stonemill share/stonemill/Stonemill.ini share/stonemill/parts/parts.dat
             share/stonemill/Models/house.stm share/stonemill/Render/smBlocks.inc share/stonemill/instruct.html
             share/applications/stonemill.desktop share/mime/packages/stonemill.xml
             share/icons/hicolor/scalable/apps/stonemill.svg share/icons/hicolor/16x16/apps/stonemill.png
             share/icons/hicolor/256x256/apps/stonemill.png)
    check("${file} was not installed into ${prefix}" EXISTS ${prefix}/${file})
endforeach()
run(${DESKTOP_FILE_VALIDATE} ${share}/applications/stonemill.desktop)
check("The desktop entry is not valid:\n${run_out}${run_err}" run_status EQUAL 0)

listing(${prefix} before)
set(model ${share}/stonemill/Models/house.stm)
set(env ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=XDG_CONFIG_HOME)

# A user with a home folder: the data is found, the user folder seeded.
set(home ${WORK}/home)
file(MAKE_DIRECTORY ${home})
run(${env} HOME=${home} ${prefix}/bin/stonemill --render ${model} --output ${WORK}/house.png --size 320x240 --fit)
check("The installed program failed (${run_status}):\n${run_out}${run_err}" run_status EQUAL 0)
check("The installed program complained:\n${run_err}" run_err MATCHES "^$")
run(${BUILD_DIR}/stonemill --render ${BUILD_DIR}/Models/house.stm --output ${WORK}/built.png --size 320x240 --fit)
check("The built program failed:\n${run_err}" run_status EQUAL 0)
file(SHA256 ${WORK}/house.png installed_picture)
file(SHA256 ${WORK}/built.png built_picture)
check("The installed program drew house.stm otherwise than the built one: ${WORK}/house.png, ${WORK}/built.png"
      installed_picture STREQUAL built_picture)
set(user ${home}/.local/share/stonemill)
foreach(file Stonemill.ini parts/userblks.dat Render/smBlocks.inc)
    check("The user folder was not seeded with ${file}" EXISTS ${user}/${file})
endforeach()

# The user's own settings stay; XDG_DATA_HOME moves the user folder.
file(WRITE ${user}/Stonemill.ini "[Main]\r\nPages=0\r\n")
file(SHA256 ${user}/Stonemill.ini mine)
run(${CMAKE_COMMAND} -E env HOME=${home} XDG_DATA_HOME=${WORK}/data ${prefix}/bin/stonemill --info ${model})
check("--info failed:\n${run_err}" run_status EQUAL 0)
check("XDG_DATA_HOME was not taken for the user folder" EXISTS ${WORK}/data/stonemill/Stonemill.ini)
file(SHA256 ${user}/Stonemill.ini kept)
check("The user's settings file was overwritten" kept STREQUAL mine)

# No home folder, or a file where the user folder belongs: said, and the work is done.
foreach(case nohome blocked)
    if(case STREQUAL "nohome")
        set(where --unset=HOME)
    else()
        file(WRITE ${WORK}/blocked "a file where a folder belongs")
        set(where HOME=${WORK}/blocked)
    endif()
    run(${env} ${where} ${prefix}/bin/stonemill --render ${model} --output ${WORK}/${case}.png --size 320x240 --fit)
    check("Without a user folder (${case}) the program failed (${run_status}):\n${run_err}" run_status EQUAL 0)
    check("Without a user folder (${case}) no picture was drawn" EXISTS ${WORK}/${case}.png)
    string(FIND "${run_err}" "your own files" said)
    check("Without a user folder (${case}) nothing was said:\n${run_err}" said GREATER -1)
endforeach()

listing(${prefix} after)
check("The program wrote into its installed files:\nbefore: ${before}\nafter: ${after}" before STREQUAL after)

# The file type is well formed: the MIME database takes it.
file(COPY ${share}/mime/packages DESTINATION ${WORK}/mime)
run(${UPDATE_MIME_DATABASE} ${WORK}/mime)
check("update-mime-database failed:\n${run_err}" run_status EQUAL 0)
check("The MIME type application/x-stonemill-model is not known" EXISTS ${WORK}/mime/application/x-stonemill-model.xml)
