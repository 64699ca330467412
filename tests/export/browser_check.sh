#!/usr/bin/env bash
# The exported page in a real browser: headless Chromium loads the page that SaveAsHTMLFile
# wrote for a structure whose names hold "<", "&", quotes, "=" and spaces, and checks that
# every link "#x" finds its anchor "x" and that the names show as text, not markup. Keeps a
# screenshot beside the page for review.
#
# usage: browser_check.sh SAMPLE_PAGE_EXE OUTPUT_DIR win32|win64
# Exit 77 (skipped) when chromium is not installed.
set -euo pipefail
sample_exe=$1
out_dir=$2
arch=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

browser=$(command -v chromium || true)
if [ -z "$browser" ]; then
    echo "SKIP: chromium is not installed (./kv setup installs it)"
    exit 77
fi

rm -rf "$out_dir"
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
page=$out_dir/sample.htm

# The Windows program writes the page; Wine reaches the build folder through drive Z:.
windows_page="Z:${page//\//\\}"
KV_EXPORT_SAMPLE_PAGE=$windows_page "$root/tools/wine-run" "$arch" "$sample_exe"
[ -s "$page" ] || { echo "FAIL: no page written at $page"; exit 1; }

run_browser() {
    local profile
    profile=$(mktemp -d "$out_dir/profile.XXXXXX")
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" "$@" 2>>"$out_dir/chromium.log"
    rm -rf "$profile"
}

# The page as the user sees it.
run_browser --window-size=1024,1400 --screenshot="$out_dir/sample.png" "file://$page" >/dev/null
[ -s "$out_dir/sample.png" ] || { echo "FAIL: no screenshot"; exit 1; }

# The same bytes followed by a script that inspects the document the browser built. The names
# are the sample structure's (tests/export/sample_structures.cpp).
checked=$out_dir/checked.htm
cp "$page" "$checked"
cat >>"$checked" <<'SCRIPT'
<script>
(function () {
  var expected = [
    ["A<B", "A<B (x > y & \"z\")"],
    ["Tom & Jerry", "Tom & Jerry"],
    ["Say \"hi\" x=1", "Say \"hi\" x=1"],
    ["it's `x` y", "it's `x` y"],
    ["Plain", "Plain"]
  ];
  var problems = [];
  var anchors = document.querySelectorAll("a[name]");
  var names = {};
  for (var i = 0; i < anchors.length; ++i) names[anchors[i].name] = true;
  if (anchors.length !== expected.length)
    problems.push(anchors.length + " anchors, expected " + expected.length);
  for (var i = 0; i < expected.length && i < anchors.length; ++i) {
    var bold = anchors[i].querySelector("b");
    if (anchors[i].name !== expected[i][0])
      problems.push("anchor " + i + " is named [" + anchors[i].name + "]");
    if (!bold || bold.textContent !== expected[i][1])
      problems.push("anchor " + i + " shows [" + (bold ? bold.textContent : "") + "]");
  }
  var links = document.querySelectorAll("a[href]");
  if (links.length === 0) problems.push("no links");
  for (var i = 0; i < links.length; ++i) {
    var href = links[i].getAttribute("href");
    // The fragment as the browser navigates to it.
    var target = decodeURIComponent(links[i].hash.slice(1));
    if (href !== "#" + target) problems.push("link [" + href + "] leads to [" + target + "]");
    if (!names[target]) problems.push("link [" + href + "] has no anchor");
    if (links[i].textContent !== target)
      problems.push("link [" + href + "] shows [" + links[i].textContent + "]");
  }
  if (document.getElementsByTagName("script").length !== 1)
    problems.push("model text became a script element");
  if (document.getElementsByTagName("i").length !== 0)
    problems.push("model text became an i element");
  var result = document.createElement("pre");
  result.id = "kvcheck";
  // The verdict is spelled so that this script's own text never matches it.
  result.textContent = "KV" + "CHECK " + (problems.length ? "FAIL\n" + problems.join("\n")
                                                          : "OK " + links.length + " links");
  document.body.appendChild(result);
})();
</script>
SCRIPT
run_browser --dump-dom "file://$checked" >"$out_dir/checked.dom.html"

verdict='<pre id="kvcheck">KVCHECK'
if grep -q "$verdict OK" "$out_dir/checked.dom.html"; then
    grep -o "$verdict OK[^<]*" "$out_dir/checked.dom.html" | sed 's/<[^>]*>//'
    echo "screenshot: $out_dir/sample.png"
    exit 0
fi
echo "FAIL: the browser's document does not match the page's structure"
sed -n "/$verdict/,/<\/pre>/p" "$out_dir/checked.dom.html"
exit 1
