#!/usr/bin/env bash
# Refreshes translations/Quillary_*.ts from the sources; run it after adding or changing texts.
# New texts arrive unfinished, vanished ones stay as obsolete entries and come back
# with their translation when the text reappears. Locations are left out on purpose:
# they would change with every edit of the code and bury the real changes in the diff.
#   tools/update-translations.sh            all languages
#   LUPDATE=/path/to/lupdate tools/update-translations.sh
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-}
if [ -z "$lupdate" ]; then
    for candidate in lupdate lupdate-qt5 /usr/lib/qt5/bin/lupdate /usr/lib/x86_64-linux-gnu/qt5/bin/lupdate; do
        if command -v "$candidate" >/dev/null 2>&1; then
            lupdate=$candidate
            break
        fi
    done
fi
if [ -z "$lupdate" ]; then
    echo "lupdate not found (package qttools5-dev-tools); set LUPDATE" >&2
    exit 1
fi

cd "$here"
# -I . lets lupdate follow the project's includes, so that it knows the classes the texts sit in.
"$lupdate" -silent -I . -locations none -no-ui-lines \
    app browser db editor exchange \
    -ts translations/Quillary_en.ts translations/Quillary_ru.ts
