# CPack's last step: SHA256SUMS beside the packages, in sha256sum's format
# ("<hash>  <name>"), so that `sha256sum -c SHA256SUMS` or certutil can check a download.
set(sums "")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(SHA256 ${package} hash)
  get_filename_component(name ${package} NAME)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS "${sums}")
