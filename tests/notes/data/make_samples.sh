#!/usr/bin/env bash
# Makes the LibreOffice-written memo samples the RTF tests read. Run by hand where LibreOffice
# is installed (Debian: libreoffice-writer-nogui); the results are committed, so the tests
# need no LibreOffice.
#   libreoffice_memo.rtf       memo_source.html (Chinese, bold, colour, a table, a picture)
#                              as LibreOffice Writer saves it in RTF
#   libreoffice_roundtrip.rtf  tevuna_written.rtf (what we store for that memo; the RTF
#                              tests write it when TEVUNA_WRITE_SAMPLES=1) opened and saved
#                              again by LibreOffice: what it understood of our RTF
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/memo_source.html" "$here/memo_picture.png" "$work/"
( cd "$work" && soffice --headless --infilter="HTML (StarWriter)" \
    --convert-to 'rtf:Rich Text Format' memo_source.html >/dev/null )
cp "$work/memo_source.rtf" "$here/libreoffice_memo.rtf"
if [ -f "$here/tevuna_written.rtf" ]; then
  mkdir "$work/again"
  cp "$here/tevuna_written.rtf" "$work/again/written.rtf"
  ( cd "$work/again" && soffice --headless --convert-to 'rtf:Rich Text Format' --outdir out \
      written.rtf >/dev/null )
  cp "$work/again/out/written.rtf" "$here/libreoffice_roundtrip.rtf"
fi
soffice --version
