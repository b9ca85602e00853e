#!/bin/sh
# The tables of both installers, read with msiinfo: the 32-bit one cannot run here (Wine on these machines runs
# 64-bit programs only), so its tables are all that can be checked; the 64-bit one must agree with it.
#   usage: msi_tables_test.sh X64_MSI X86_MSI VERSION
set -u
x64=$1 x86=$2 version=$3
command -v msiinfo >/dev/null 2>&1 || { echo "msiinfo is not installed (Debian package msitools)" >&2; exit 1; }
for msi in "$x64" "$x86"; do
    [ -f "$msi" ] || { echo "no installer at $msi: build the 64-bit and the 32-bit Windows programs (make windows)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
# expect MSI TABLE LINE: the table, exported tab-separated, holds this whole line.
expect() {
    if ! msiinfo export "$1" "$2" | tr -d '\r' | grep -qxF "$3"; then
        echo "FAIL $(basename "$1") $2: no line \"$3\""
        failed=1
    fi
}
tab=$(printf '\t')
for msi in "$x64" "$x86"; do
    expect "$msi" Property "ProductName${tab}Nudgepost"
    expect "$msi" Property "Manufacturer${tab}Quillmoor"
    expect "$msi" Property "ProductVersion${tab}$version"
    expect "$msi" Property "UpgradeCode${tab}{07ACBB73-7A64-4847-96E2-A0369EE73982}"
    expect "$msi" Property "ARPPRODUCTICON${tab}nudgepost.exe"
    expect "$msi" Shortcut "StartMenuShortcut${tab}ProgramMenuFolder${tab}Nudgepost${tab}Program${tab}[#nudgepost.exe]${tab}${tab}Reminders that come to the screen when they are due${tab}${tab}nudgepost.exe${tab}${tab}${tab}INSTALLDIR${tab}${tab}${tab}${tab}"
    expect "$msi" Directory "INSTALLDIR${tab}UserProgramsFolder${tab}Nudgepost"
    expect "$msi" Directory "UserProgramsFolder${tab}LocalAppDataFolder${tab}Programs"
    expect "$msi" InstallExecuteSequence "RemoveExistingProducts${tab}${tab}1401"
    # Up to this version, this one included, so that a rebuild replaces rather than joins it; above it, refused.
    expect "$msi" Upgrade "{07ACBB73-7A64-4847-96E2-A0369EE73982}${tab}${tab}$version${tab}${tab}513${tab}${tab}WIX_UPGRADE_DETECTED"
    expect "$msi" Upgrade "{07ACBB73-7A64-4847-96E2-A0369EE73982}${tab}$version${tab}${tab}${tab}2${tab}${tab}WIX_DOWNGRADE_DETECTED"
    expect "$msi" InstallExecuteSequence "CloseRunningCopy${tab}${tab}1390"
    expect "$msi" LaunchCondition "NOT WIX_DOWNGRADE_DETECTED${tab}A later version of Nudgepost is already installed. To go back to this version, uninstall the later one first; your messages stay."
    if ! msiinfo export "$msi" Component | grep -q "^StartAtSignIn${tab}.*${tab}AUTOSTART=\"1\" OR RUNVALUE${tab}"; then
        echo "FAIL $(basename "$msi") Component: start at sign-in is not conditional"
        failed=1
    fi
    if ! msiinfo export "$msi" Registry | grep -qF "Software\\Microsoft\\Windows\\CurrentVersion\\Run${tab}Nudgepost${tab}\"[#nudgepost.exe]\"${tab}StartAtSignIn"; then
        echo "FAIL $(basename "$msi") Registry: no Run value naming the installed program"
        failed=1
    fi
    # Per user: no ALLUSERS of its own, and no administrator rights asked for (word count 2 + 8).
    if msiinfo export "$msi" Property | grep -q "^ALLUSERS${tab}"; then
        echo "FAIL $(basename "$msi"): ALLUSERS is set in the package"
        failed=1
    fi
    if ! msiinfo suminfo "$msi" | grep -qx "Source: 10 (a)"; then
        echo "FAIL $(basename "$msi"): not a compressed package that needs no elevation"
        failed=1
    fi
done

# What sets the two apart: the platform, the folder for all users, the components' 64-bit flag, the program inside.
msiinfo suminfo "$x64" | grep -qx "Template: x64;1033" || { echo "FAIL x64 platform"; failed=1; }
msiinfo suminfo "$x86" | grep -qx "Template: Intel;1033" || { echo "FAIL x86 platform"; failed=1; }
expect "$x64" CustomAction "AllUsersFolder${tab}2099${tab}INSTALLDIR${tab}[ProgramFiles64Folder]Nudgepost\\${tab}"
expect "$x86" CustomAction "AllUsersFolder${tab}2099${tab}INSTALLDIR${tab}[ProgramFilesFolder]Nudgepost\\${tab}"
msiinfo export "$x64" Component | grep -q "^Program${tab}[^${tab}]*${tab}INSTALLDIR${tab}256${tab}" || { echo "FAIL x64 Component not 64-bit"; failed=1; }
msiinfo export "$x86" Component | grep -q "^Program${tab}[^${tab}]*${tab}INSTALLDIR${tab}0${tab}" || { echo "FAIL x86 Component not 32-bit"; failed=1; }
# The machine type of the PE header: 0x8664 for x86-64, 0x14c for i386.
machine() {
    rm -rf "$work/files" && mkdir "$work/files"
    (msi=$(readlink -f "$1") && cd "$work/files" && msiextract "$msi" >/dev/null) || { echo "msiextract failed on $1" >&2; exit 1; }
    exe=$(find "$work/files" -name nudgepost.exe | head -n 1)
    offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
    od -An -tx2 -j$((offset + 4)) -N2 "$exe" | tr -d ' '
}
[ "$(machine "$x64")" = 8664 ] || { echo "FAIL the x64 installer holds no x86-64 program"; failed=1; }
[ "$(machine "$x86")" = 014c ] || { echo "FAIL the x86 installer holds no 32-bit program"; failed=1; }
[ $failed -eq 0 ] && echo "both installers' tables as expected"
exit $failed
