# Makes the licence that goes with the font file out of the Debian copyright file of its
# package: the font's name, its copyright lines and the text of the SIL Open Font License.
BEGIN { RS = ""; FS = "\n" }
{
    for (i = 1; i <= NF; i++) {
        if ($i ~ /^Upstream-Name:/) {
            name = $i
            sub(/^Upstream-Name:[[:space:]]*/, "", name)
        }
    }
}
$1 == "Files: *" {
    for (i = 2; i <= NF && $i !~ /^License:/; i++) {
        line = $i
        sub(/^(Copyright:)?[[:space:]]*/, "", line)
        copyright = copyright "Copyright " line "\n"
    }
}
$1 == "License: OFL-1.1" {
    for (i = 2; i <= NF; i++) {
        line = substr($i, 2)
        text = text (line == "." ? "" : line) "\n"
    }
}
END {
    if (name == "" || copyright == "" || text == "") exit 1
    printf "%s, the font in SmallMemory.ttf\n\n%s\n%s", name, copyright, text
}
