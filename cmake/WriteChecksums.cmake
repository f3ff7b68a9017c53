# Run by cpack once the files of an archive are in place: writes
# SHA256SUMS.txt beside them, with the SHA-256 of every file and how to
# check them where the archive is unpacked.
set(top "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE files RELATIVE "${top}" "${top}/*")
list(REMOVE_ITEM files SHA256SUMS.txt)
list(SORT files)
set(text [=[# SHA-256 checksums of the files of this release. To check them, in this folder:
#   Linux:      sha256sum -c SHA256SUMS.txt
#   macOS:      shasum -a 256 -c SHA256SUMS.txt
#   Windows:    certutil -hashfile bin\pellando.exe SHA256   (one file: compare with its line)
#   PowerShell: Get-Content SHA256SUMS.txt | Where-Object { $_ -and $_ -notmatch '^#' } | ForEach-Object { $sum, $file = $_ -split '  ', 2; if ((Get-FileHash -Algorithm SHA256 $file).Hash -eq $sum) { "OK      $file" } else { "FAILED  $file" } }
]=])
foreach(file IN LISTS files)
  file(SHA256 "${top}/${file}" sum)
  string(APPEND text "${sum}  ${file}\n")
endforeach()
file(WRITE "${top}/SHA256SUMS.txt" "${text}")
