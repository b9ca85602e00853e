# Run by `cmake -P` at build time: builds one installer with wixl, then writes into its tables what wixl's WiX
# dialect cannot say. Variables: WIXL, MSIBUILD, SOURCE, OUTPUT, VERSION, EXE, README, ACTIONS, ARCH (x64 or x86).
if(ARCH STREQUAL "x64")
    set(program_files ProgramFiles64Folder)
    set(win64 yes)
else()
    set(program_files ProgramFilesFolder)
    set(win64 no)
endif()
# The size the uninstall entry shows, in kilobytes, rounded up.
file(SIZE ${EXE} exe_size)
file(SIZE ${README} readme_size)
math(EXPR size_kb "(${exe_size} + ${readme_size} + 1023) / 1024")

# wixl takes the files it packs by names relative to the source's folder only: all of them go into one folder.
set(stage ${OUTPUT}.files)
file(REMOVE_RECURSE ${stage})
file(COPY ${SOURCE} ${EXE} ${ACTIONS} DESTINATION ${stage})
file(COPY_FILE ${README} ${stage}/README.TXT)
get_filename_component(exe_name ${EXE} NAME)
get_filename_component(actions_name ${ACTIONS} NAME)
get_filename_component(source_name ${SOURCE} NAME)
file(REMOVE ${OUTPUT})
execute_process(
    COMMAND ${WIXL} -a ${ARCH} -o ${OUTPUT}
            -D Version=${VERSION} -D Exe=${exe_name} -D Readme=README.TXT -D Actions=${actions_name}
            -D SizeKb=${size_kb} -D ProgramFilesFolder=${program_files} -D Win64=${win64}
            ${source_name}
    WORKING_DIRECTORY ${stage}
    COMMAND_ERROR_IS_FATAL ANY)
# A component condition: start at sign-in only when asked for, or when it was on before an upgrade.
# The older version goes before the new one is installed (wixl puts its removal after the end), so no file is
# compared with its older self and nothing of the old version can stay behind.
# A package of the same version (a rebuild) replaces the installed one too (migrate features 1 + the highest
# version included 512); otherwise every build, with a product code of its own, would add a second entry. The
# attributes are part of the row's key, so the row is written anew, with the upgrade code the source gives.
file(READ ${SOURCE} wxs)
string(REGEX MATCH "UpgradeCode=\"([^\"]+)\"" upgrade_code "${wxs}")
set(upgrade_code ${CMAKE_MATCH_1})
if(NOT upgrade_code)
    message(FATAL_ERROR "no UpgradeCode in ${SOURCE}")
endif()
execute_process(
    COMMAND ${MSIBUILD} ${OUTPUT}
            -q "UPDATE `Component` SET `Condition`='AUTOSTART=\"1\" OR RUNVALUE' WHERE `Component`='StartAtSignIn'"
            -q "UPDATE `InstallExecuteSequence` SET `Sequence`=1401 WHERE `Action`='RemoveExistingProducts'"
            -q "DELETE FROM `Upgrade` WHERE `ActionProperty`='WIX_UPGRADE_DETECTED'"
            -q "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Language`, `Attributes`, `Remove`, `ActionProperty`) VALUES ('{${upgrade_code}}', '', '${VERSION}', '', 513, '', 'WIX_UPGRADE_DETECTED')"
    COMMAND_ERROR_IS_FATAL ANY)
