# Sourced by the scripts that build Xerces-C from Debian's source package:
# `apt-get source` needs the source index of the release. Uses $SUDO.
enable_deb_src() {
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
      'Suites: bookworm bookworm-updates' 'Components: main' \
      'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
      $SUDO tee /etc/apt/sources.list.d/quorvex-deb-src.sources >/dev/null
  fi
}
