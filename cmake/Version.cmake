# The program's version, kept here and nowhere else. The build hands it to the
# code (LumivoVersion.h), the version block and manifest of Lumivo.exe, and the
# installer (Version.nsh); the release files are named by LUMIVO_VERSION_TEXT.
set(LUMIVO_FILE_VERSION 1.1.0.105)   # four numbers: the file version and the manifest's
set(LUMIVO_VERSION_TEXT "1.1.9x.ru") # what the user sees; the registry's Version value
set(LUMIVO_VERSION_NAME "Relaze")    # shown after the text: "1.1.9x.ru.Relaze"
