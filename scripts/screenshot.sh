#!/usr/bin/env bash
# Writes docs/main-window.png: the main window on the sample database, opened as on a first start
# (a temporary home, so no setting of the user's is read or written), on a 1280x800 virtual display.
# `screenshot.sh about`, `input` and `list` write docs/about.png, docs/input-text.png and
# docs/item-list.png: the About box, the one-line input popup and a result list over it;
# `search` and `results` write docs/search-pane.png and docs/search-results.png: the main window
# with its search pane after a search, and that search's result window; `description` writes
# docs/description-window.png: a procedure's description window; `table` writes
# docs/description-table.png: that window with a table inserted through the Table menu; `html`
# writes docs/html-source.png: that description's HTML code window; `css` writes
# docs/style-sheet.png: the style sheet editor; `fillin` writes docs/result-fill.png: the result
# entry window of the sample's test plan; `site` writes docs/published-site.png: that test plan
# published as a framed site into a temporary folder and shown in a web view, its explorer frame
# beside the plan's page, then follows one explorer link and prints the page it opened; `import`
# writes docs/xml-import.png: the XML import options.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake --build "$build" --target kvl_screenshot Koravel >/dev/null

case "${1:-main}" in
  main) picture=main-window.png ;;
  about) picture=about.png ;;
  input) picture=input-text.png ;;
  list) picture=item-list.png ;;
  search) picture=search-pane.png ;;
  results) picture=search-results.png ;;
  description) picture=description-window.png ;;
  table) picture=description-table.png ;;
  html) picture=html-source.png ;;
  css) picture=style-sheet.png ;;
  fillin) picture=result-fill.png ;;
  site) picture=published-site.png ;;
  import) picture=xml-import.png ;;
  *) echo "usage: $0 [main|about|input|list|search|results|description|table|html|css|fillin|site|import]" >&2; exit 2 ;;
esac
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$root/docs" "$home/runtime"
chmod 700 "$home/runtime"
HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
  xvfb-run -a -s "-screen 0 1280x800x24" "$build/src/app/kvl_screenshot" "$root/docs/$picture" "${1:-main}"
echo "wrote docs/$picture"
