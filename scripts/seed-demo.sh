#!/usr/bin/env bash
# Seeds the Wine prefix named by WINEPREFIX with a demo Windows profile that
# holds traces of every application Tarnwell sweeps: Internet Explorer and its
# toolbars, Windows itself, the media players, Netscape, FireFox, Opera, AOL,
# Flash and Shockwave, and the application of the demo plug-in definition
# (scripts/demo/plugins/Quillpad.ini) and of the shipped definitions
# (plugins/: today's browsers' caches). After it has run, "Analyze Risk" finds
# something in every category.
#
# Files are written straight into the prefix through its drive folders; the
# registry data (scripts/demo/traces.reg) goes in with one regedit import.
# A marker file makes every later call return at once.
#
# Usage: bash scripts/seed-demo.sh   (with WINEPREFIX naming a ready 32-bit
# prefix; WINEARCH and WINEDEBUG as for every other script of the project)
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the prefix to seed}"
export WINEPREFIX WINEDEBUG=-all

marker=$WINEPREFIX/.tarnwell-demo-seeded
[ -f "$marker" ] && exit 0
[ -d "$WINEPREFIX/drive_c" ] || { echo "seed-demo: $WINEPREFIX is not a Wine prefix" >&2; exit 1; }

demo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/demo

# 2025-01-06 09:30 UTC as a Windows FILETIME: the time stamp written into the
# binary records (shortcuts, recycle-bin index).
readonly FILETIME=133806294000000000

# ---------------------------------------------------------------------------
# Helpers

# Unix path of a Windows path inside the prefix ("C:\a\b" -> .../drive_c/a/b).
unix_path() {
    local win=$1 drive rest
    drive=${win:0:1}
    drive=${drive,,}
    rest=${win:2}
    rest=${rest//\\//}
    if [ "$drive" = c ]; then
        printf '%s/drive_c%s' "$WINEPREFIX" "$rest"
    else
        printf '%s/dosdevices/%s:%s' "$WINEPREFIX" "$drive" "$rest"
    fi
}

# put FILE: standard input into FILE, creating its folder.
put() {
    mkdir -p "${1%/*}"
    cat >"$1"
}

# put_crlf FILE: the same with Windows line ends, as Windows programs write
# their text files.
put_crlf() {
    mkdir -p "${1%/*}"
    sed 's/$/\r/' >"$1"
}

# put_bytes FILE ESCAPED: writes a byte string given as printf %b escapes.
put_bytes() {
    mkdir -p "${1%/*}"
    printf '%b' "$2" >"$1"
}

# filler FILE SIZE [HEADER]: a binary file of SIZE bytes, starting with the
# optional HEADER (printf %b escapes) and continuing with random bytes.
filler() {
    local used
    mkdir -p "${1%/*}"
    printf '%b' "${3:-}" >"$1"
    used=$(stat -c %s "$1")
    head -c $(($2 - used)) /dev/urandom >>"$1"
}

# Little- and big-endian integers as printf %b escapes.
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
le64() { le32 $(($1 & 4294967295)); le32 $(($1 >> 32 & 4294967295)); }
be16() { printf '\\x%02x\\x%02x' $(($1 >> 8 & 255)) $(($1 & 255)); }
be32() { be16 $(($1 >> 16 & 65535)); be16 $(($1 & 65535)); }

# Text as printf %b input (its backslashes doubled), single-byte and UTF-16.
ansi() { printf '%s' "${1//\\/\\\\}"; }
utf16() {
    local i
    for ((i = 0; i < ${#1}; i++)); do ansi "${1:i:1}"; printf '\\x00'; done
}
zeros() {
    local pad
    printf -v pad '%*s' "$1" ''
    printf '%s' "${pad// /\\x00}"
}

# shortcut FILE TARGET: a shell link (.lnk) to the Windows path TARGET, with
# the link information of a local fixed drive and the target's folder as its
# working folder.
shortcut() {
    local file=$1 target=$2
    local dir=${target%\\*} time volume_size=17 path_size=$((${#2} + 1)) b
    time=$(le64 $FILETIME)
    b=$(le32 0x4C)'\x01\x14\x02\x00\x00\x00\x00\x00\xc0\x00\x00\x00\x00\x00\x00\x46'
    b+=$(le32 0x12)$(le32 0x20)$time$time$time$(le32 2048)$(le32 0)$(le32 1)$(le16 0)$(le16 0)$(le32 0)$(le32 0)
    b+=$(le32 $((28 + volume_size + path_size + 1)))$(le32 28)$(le32 1)$(le32 28)
    b+=$(le32 $((28 + volume_size)))$(le32 0)$(le32 $((28 + volume_size + path_size)))
    b+=$(le32 $volume_size)$(le32 3)$(le32 0x5A17C0DE)$(le32 16)'\x00'
    b+=$(ansi "$target")'\x00\x00'
    b+=$(le16 ${#dir})$(ansi "$dir")
    b+=$(le32 0)
    put_bytes "$file" "$b"
}

# shared_object FILE NAME KEY=VALUE...: a Flash local shared object (.sol,
# AMF0) holding string members.
shared_object() {
    local file=$1 name=$2 pair key value members="" size=0
    shift 2
    for pair in "$@"; do
        key=${pair%%=*}
        value=${pair#*=}
        members+=$(be16 ${#key})$(ansi "$key")'\x02'$(be16 ${#value})$(ansi "$value")'\x00'
        size=$((size + 2 + ${#key} + 1 + 2 + ${#value} + 1))
    done
    local bytes='\x00\xbf'
    bytes+=$(be32 $((4 + 6 + 2 + ${#name} + 4 + size)))'TCSO\x00\x04\x00\x00\x00\x00'
    bytes+=$(be16 ${#name})$(ansi "$name")'\x00\x00\x00\x00'$members
    put_bytes "$file" "$bytes"
}

# ---------------------------------------------------------------------------
# Where the prefix keeps the user's folders

discover_locations() {
    local environment shell_folders users
    environment=$(wine cmd /c 'echo %USERNAME%& echo %USERPROFILE%& echo %TEMP%' | tr -d '\r')
    user_name=$(sed -n 1p <<<"$environment")
    profile_win=$(sed -n 2p <<<"$environment")
    temp_win=$(sed -n 3p <<<"$environment")

    shell_folders=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' | tr -d '\r' || true)
    shell_folder() {
        local value
        value=$(sed -n "s/^    $1    REG_SZ    //p" <<<"$shell_folders")
        printf '%s' "${value:-$profile_win\\$2}"
    }
    cache_win=$(shell_folder Cache 'AppData\Local\Microsoft\Windows\INetCache')
    cookies_win=$(shell_folder Cookies 'AppData\Local\Microsoft\Windows\INetCookies')
    history_win=$(shell_folder History 'AppData\Local\Microsoft\Windows\History')
    recent_win=$(shell_folder Recent 'AppData\Roaming\Microsoft\Windows\Recent')
    common_app_data_win=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\explorer\Shell Folders' /v 'Common AppData' |
        tr -d '\r' | sed -n 's/^    Common AppData    REG_SZ    //p' || true)
    common_app_data_win=${common_app_data_win:-C:\\ProgramData}

    # The user's own key under HKEY_USERS is named by the SID; the recycle
    # bin of the NT family is a folder of the same name.
    users=$(wine reg query HKU | tr -d '\r' || true)
    user_sid=$(grep -o 'S-1-5-21-[0-9-]*' <<<"$users" | head -n 1 || true)
    user_sid=${user_sid:-S-1-5-21-0-0-0-1000}

    if [ -z "$user_name" ] || [ -z "$profile_win" ] || [ -z "$temp_win" ]; then
        echo "seed-demo: cannot read the user's environment from the prefix" >&2
        exit 1
    fi
    profile=$(unix_path "$profile_win")
    app_data=$profile/Application\ Data
    local_app_data=$profile/Local\ Settings/Application\ Data
}

# ---------------------------------------------------------------------------
# Internet Explorer: pages and pictures in Temporary Internet Files, dated
# history folders, one cookie file per site (named the way the Cookie Keeper
# lists them), a desktop.ini in each folder as Windows keeps them.

seed_internet_explorer() {
    local cache history cookies
    cache=$(unix_path "$cache_win")/Content.IE5
    printf '[.ShellClassInfo]\nUICLSID={7BD29E00-76C1-11CF-9DD0-00A0C9034933}\n' | put_crlf "$cache/desktop.ini"
    put "$cache/0B2QX7ZM/index[1].htm" <<'EOF'
<html><head><title>Example News - Today</title>
<link rel="stylesheet" href="/style.css"></head>
<body><img src="/logo.gif" alt="Example News"><h1>Today's headlines</h1>
<p>Springfield library extends its opening hours.</p></body></html>
EOF
    put "$cache/0B2QX7ZM/style[1].css" <<'EOF'
body { font-family: Verdana, sans-serif; background: #ffffff; }
h1 { color: #003366; }
EOF
    put_bytes "$cache/0B2QX7ZM/logo[1].gif" 'GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x01\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b'
    filler "$cache/F8K3L1PQ/banner[1].jpg" 6144 '\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00'
    put "$cache/F8K3L1PQ/cart[1].htm" <<'EOF'
<html><head><title>Your cart - Example Shop</title></head>
<body><table><tr><td>Example widget, blue</td><td>1</td><td>$19.99</td></tr></table></body></html>
EOF
    put "$cache/R2D7W0NE/weather[2].js" <<'EOF'
var forecast = { city: "Springfield", today: "sunny", high: 21, low: 12 };
EOF

    # Dated history folders as the browser keeps them; the folders' own
    # index.dat files are placeholders, the container's root index is left
    # for WinINet to create.
    history=$(unix_path "$history_win")/History.IE5
    printf '[.ShellClassInfo]\nCLSID={FF393560-C2A7-11CF-BFF4-444553540000}\n' | put_crlf "$history/desktop.ini"
    local folder url
    for folder in MSHist012024123020250106 MSHist012025010620250107; do
        {
            printf 'Client UrlCache MMF Ver 5.2\0'
            for url in http://www.example.com/news/today.html http://shop.example.org/cart http://www.example.net/weather/springfield; do
                printf 'URL :2025010620250107: %s@%s\0' "$user_name" "$url"
            done
        } | put "$history/$folder/index.dat"
    done

    cookies=$(unix_path "$cookies_win")
    cookie() {
        # cookie NAME VALUE HOST/PATH: one cookie record in the browser's own
        # text layout (LF line ends); a file holds the records of one site.
        printf '%s\n%s\n%s\n1024\n2837125120\n31139508\n1422430528\n30890513\n*\n' "$1" "$2" "$3"
    }
    { cookie visitor a1b2c3d4e5f60718 example.com/; cookie lang en-US example.com/; } |
        put "$cookies/$user_name@example[1].txt"
    cookie session 5f3e2d1c0b0a www.example.com/news/ | put "$cookies/$user_name@www.example[2].txt"
    cookie cart item=4711 shop.example.org/ | put "$cookies/$user_name@shop.example[1].txt"
    cookie uid 8812733401 ads.example.net/ | put "$cookies/$user_name@ads.example[1].txt"
    cookie city springfield weather.example.net/ | put "$cookies/$user_name@weather.example[1].txt"
}

# ---------------------------------------------------------------------------
# Windows: ScanDisk fragments in the root of C:, shortcuts in the Recent
# folder (matching the RecentDocs registry list), deleted files with their
# index in the user's recycle-bin folder, and leftovers in the Temp folder.

seed_windows() {
    local root recent bin temp
    root=$WINEPREFIX/drive_c
    filler "$root/FILE0000.CHK" 4096
    filler "$root/FILE0001.CHK" 8192
    filler "$root/FILE0002.CHK" 32768

    recent=$(unix_path "$recent_win")
    shortcut "$recent/letter to landlord.lnk" "$profile_win\\Documents\\letter to landlord.txt"
    shortcut "$recent/Quarterly report.lnk" "$profile_win\\Documents\\Quarterly report.doc"
    shortcut "$recent/Holiday budget.lnk" "$profile_win\\Documents\\Holiday budget.xls"
    shortcut "$recent/Documents.lnk" "$profile_win\\Documents"

    # The bin of the NT family: the deleted files renamed D<drive><number>
    # and INFO2, a 20-byte header and an 800-byte record per file (original
    # name, number, drive, time of deletion, size, name in UTF-16).
    bin=$WINEPREFIX/drive_c/recycler/$user_sid
    printf '[.ShellClassInfo]\nCLSID={645FF040-5081-101B-9F08-00AA002F954E}\n' | put_crlf "$bin/desktop.ini"
    printf 'Dear landlord,\nthe heating in flat 3 has failed again.\n' | put_crlf "$bin/Dc1.txt"
    filler "$bin/Dc2.doc" 12288 '\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1'
    filler "$bin/Dc3.jpg" 20480 '\xff\xd8\xff\xe0\x00\x10JFIF\x00'
    local info2 number=0 entry name size
    info2=$(le32 5)$(le32 0)$(le32 0)$(le32 800)$(le32 0)
    for entry in "$profile_win\\Documents\\old letter.txt|$(stat -c %s "$bin/Dc1.txt")" \
                 "$profile_win\\Documents\\CV draft.doc|12288" \
                 "C:\\users\\Public\\Pictures\\party.jpg|20480"; do
        number=$((number + 1))
        name=${entry%|*}
        size=${entry##*|}
        info2+=$(ansi "$name")$(zeros $((260 - ${#name})))
        info2+=$(le32 $number)$(le32 2)$(le64 $FILETIME)$(le32 "$size")
        info2+=$(utf16 "$name")$(zeros $((520 - 2 * ${#name})))
    done
    put_bytes "$bin/INFO2" "$info2"

    temp=$(unix_path "$temp_win")
    filler "$temp/~DF3A2B.tmp" 16384
    filler "$temp/~WRS0003.tmp" 2048
    put_crlf "$temp/setup.log" <<'EOF'
[2025-01-06 09:12:44] Example Widgets Setup 2.1 started
[2025-01-06 09:12:45] Extracting files to C:\Program Files\Example Widgets
[2025-01-06 09:12:51] Setup completed successfully
EOF
    printf 'Thank you for downloading Example Widgets.\n' | put_crlf "$temp/wz8c41/readme.txt"
    filler "$temp/wz8c41/widgets.cab" 24576 'MSCF\x00\x00\x00\x00'
}

# ---------------------------------------------------------------------------
# Media players: the QuickTime favourites file in the folder the registry
# names (traces.reg); RealPlayer's and Windows Media Player's lists are
# registry data only.

seed_media_players() {
    local quicktime=$app_data/Apple\ Computer/QuickTime
    {
        printf 'QTFV\0\0\0\3'
        printf '%s\0' 'http://www.example.com/trailers/summer.mov' \
            'C:\users\Public\Videos\graduation.mov' \
            'http://media.example.org/clips/interview.mp4'
    } | put "$quicktime/QuickTimeFavorites.qtr"
    filler "$quicktime/QuickTime.qtp" 1536 'qtpf'
}

# ---------------------------------------------------------------------------
# Mozilla family helpers: the browsers' history and form-history databases
# (Mork text), the cookie file (Netscape layout: domain, subdomain flag,
# path, secure flag, expiry, name, value, separated by TABs), a disk cache.

mork_history() {
    local row=1 url
    printf '// <!-- <mdb:mork:z v="1.4"/> -->\n'
    printf '< <(a=c)> // (f=iso-8859-1)\n  (B8=Typed)(B9=LastPageVisited)(BA=ByteOrder)\n'
    printf '  (80=ns:history:db:row:scope:history:all)\n  (81=ns:history:db:table:kind:history)(82=URL)(83=Referrer)\n'
    printf '  (84=LastVisitDate)(85=FirstVisitDate)(86=VisitCount)(87=Name)\n  (88=Hostname)(89=Hidden)>\n\n'
    printf '{1:^80 {(k^81:c)(s=9)[1(^BA=LE)]}\n'
    for url in "$@"; do
        local host=${url#*://}
        host=${host%%/*}
        printf '  [%X(^82=%s)(^84=17361558%02d000000)(^85=17360694%02d000000)(^88=%s)(^86=%d)(^B8=1)]\n' \
            "$row" "$url" "$row" "$row" "$host" $((row + 2))
        row=$((row + 1))
    done
    printf '}\n'
}

mork_form_history() {
    printf '// <!-- <mdb:mork:z v="1.4"/> -->\n'
    printf '< <(a=c)> // (f=iso-8859-1)\n  (80=ns:formhistory:db:row:scope:formhistory:all)\n'
    printf '  (81=ns:formhistory:db:table:kind:formhistory)(82=Name)(83=Value)(84=ByteOrder)>\n\n'
    printf '{1:^80 {(k^81:c)(s=9)[1(^84=LE)]}\n'
    printf '  [1(^82=searchbar-history)(^83=cheap flights to boston)]\n'
    printf '  [2(^82=searchbar-history)(^83=springfield weather)]\n'
    printf '  [3(^82=email)(^83=demo.user@example.com)]\n'
    printf '  [4(^82=zip)(^83=99999)]\n}\n'
}

mozilla_cookies() {
    put_crlf "$1" <<'EOF'
# HTTP Cookie File
# This is a generated file!  Do not edit.
# To delete cookies, use the Cookie Manager.

.example.com	TRUE	/	FALSE	1893456000	visitor	a1b2c3d4e5f60718
.example.com	TRUE	/	FALSE	1893456000	lang	en-US
www.example.com	FALSE	/news	FALSE	1767225600	session	5f3e2d1c0b0a
shop.example.org	FALSE	/	FALSE	1893456000	cart	item=4711
.ads.example.net	TRUE	/	FALSE	1893456000	uid	8812733401
weather.example.net	FALSE	/	FALSE	1767225600	city	springfield
EOF
}

mozilla_cache() {
    filler "$1/_CACHE_MAP_" 4096 '\x00\x01\x00\x05'
    filler "$1/_CACHE_001_" 16384
    filler "$1/_CACHE_002_" 16384
    filler "$1/_CACHE_003_" 16384
    filler "$1/1F3A9C2Bd01" 9216 '\xff\xd8\xff\xe0\x00\x10JFIF\x00'
    filler "$1/8E41D07Ad01" 5120 'GIF89a'
}

# ---------------------------------------------------------------------------
# Netscape: two profiles under Mozilla\Profiles, each holding one data
# folder (*.slt) with cache, history, cookies, the toolbar's search terms,
# the address-bar list in localstore.rdf, and preferences.

seed_netscape() {
    local root=$app_data/Mozilla/Profiles entry data
    for entry in default/x8yq3kfj.slt Guest/m2n5c8rt.slt; do
        data=$root/$entry
        mozilla_cache "$data/Cache"
        mork_history http://www.example.com/news/today.html http://shop.example.org/cart \
            http://www.example.net/weather/springfield | put_crlf "$data/history.dat"
        mozilla_cookies "$data/cookies.txt"
        put_crlf "$data/netscapetoolbar.rdf" <<'EOF'
<?xml version="1.0"?>
<RDF:RDF xmlns:NC="http://home.netscape.com/NC-rdf#"
         xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <RDF:Seq RDF:about="urn:x-netscape-toolbar:searchterms">
    <RDF:li RDF:resource="urn:x-netscape-toolbar:searchterm:cheap flights to boston"/>
    <RDF:li RDF:resource="urn:x-netscape-toolbar:searchterm:springfield weather"/>
    <RDF:li RDF:resource="urn:x-netscape-toolbar:searchterm:used car prices"/>
  </RDF:Seq>
  <RDF:Description RDF:about="urn:x-netscape-toolbar:searchterm:cheap flights to boston"
                   NC:Name="cheap flights to boston" />
  <RDF:Description RDF:about="urn:x-netscape-toolbar:searchterm:springfield weather"
                   NC:Name="springfield weather" />
  <RDF:Description RDF:about="urn:x-netscape-toolbar:searchterm:used car prices"
                   NC:Name="used car prices" />
  <RDF:Description RDF:about="urn:x-netscape-toolbar:settings"
                   NC:SearchEngine="http://search.example.com/" />
</RDF:RDF>
EOF
        put_crlf "$data/localstore.rdf" <<'EOF'
<?xml version="1.0"?>
<RDF:RDF xmlns:NC="http://home.netscape.com/NC-rdf#"
         xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <RDF:Seq RDF:about="nc:urlbar-history">
    <RDF:li>http://www.example.com/news/today.html</RDF:li>
    <RDF:li>http://shop.example.org/cart?item=4711</RDF:li>
    <RDF:li>http://mail.example.com/</RDF:li>
  </RDF:Seq>
  <RDF:Description RDF:about="chrome://navigator/content/navigator.xul#main-window"
                   width="1024" height="740" screenX="0" screenY="0" sizemode="normal" />
</RDF:RDF>
EOF
        put_crlf "$data/prefs.js" <<'EOF'
# Mozilla User Preferences

/* Do not edit this file.
 *
 * If you make changes to this file while the browser is running,
 * the changes will be overwritten when the browser exits.
 */

user_pref("browser.startup.homepage", "http://www.example.com/");
user_pref("browser.history_expire_days", 9);
user_pref("network.cookie.cookieBehavior", 0);
EOF
    done
}

# ---------------------------------------------------------------------------
# FireFox: two profiles under Mozilla\FireFox\Profiles with cache, history,
# form history, cookies, saved logins, the download list, prefs.js with the
# Google toolbar's history lines among ordinary preferences, and the Yahoo!
# toolbar's three history files. The second profile keeps its cache under
# Local Settings, where FireFox puts it when roaming profiles are used.

seed_firefox() {
    local root=$app_data/Mozilla/FireFox/Profiles profile name
    put_crlf "$app_data/Mozilla/FireFox/profiles.ini" <<'EOF'
[General]
StartWithLastProfile=1

[Profile0]
Name=default
IsRelative=1
Path=Profiles/k3x9q2lm.default
Default=1

[Profile1]
Name=travel
IsRelative=1
Path=Profiles/p7w4d1zt.travel
EOF
    for name in k3x9q2lm.default p7w4d1zt.travel; do
        profile=$root/$name
        if [ "$name" = k3x9q2lm.default ]; then
            mozilla_cache "$profile/Cache"
        else
            mozilla_cache "$local_app_data/Mozilla/FireFox/Profiles/$name/Cache"
        fi
        mork_history http://www.example.com/news/today.html http://mail.example.com/ \
            http://www.example.org/downloads/ http://video.example.org/player | put_crlf "$profile/history.dat"
        mork_form_history | put_crlf "$profile/formhistory.dat"
        mozilla_cookies "$profile/cookies.txt"
        put_crlf "$profile/signons.txt" <<'EOF'
#2c
.
http://mail.example.com
login
~demo.user
*password
~MDIwNTU0NjE5ODIzNTg3MQ==
.
https://shop.example.org
email
~demo.user@example.com
*pass
~Qm9ndXMgZGVtbyBkYXRh
.
EOF
        filler "$profile/key3.db" 16384 '\x00\x06\x15\x61'
        put_crlf "$profile/downloads.rdf" <<EOF
<?xml version="1.0"?>
<RDF:RDF xmlns:NC="http://home.netscape.com/NC-rdf#"
         xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <RDF:Seq RDF:about="NC:DownloadsRoot">
    <RDF:li RDF:resource="$profile_win\\Desktop\\widgets-setup.exe"/>
    <RDF:li RDF:resource="$profile_win\\Desktop\\holiday-brochure.pdf"/>
  </RDF:Seq>
  <RDF:Description RDF:about="$profile_win\\Desktop\\widgets-setup.exe"
                   NC:Name="widgets-setup.exe"
                   NC:Transferred="1024/1024"
                   NC:DownloadState="1">
    <NC:File RDF:resource="file:///C:/users/$user_name/Desktop/widgets-setup.exe"/>
    <NC:URL RDF:resource="http://downloads.example.com/widgets-setup.exe"/>
  </RDF:Description>
  <RDF:Description RDF:about="$profile_win\\Desktop\\holiday-brochure.pdf"
                   NC:Name="holiday-brochure.pdf"
                   NC:Transferred="312/312"
                   NC:DownloadState="1">
    <NC:File RDF:resource="file:///C:/users/$user_name/Desktop/holiday-brochure.pdf"/>
    <NC:URL RDF:resource="http://travel.example.org/files/holiday-brochure.pdf"/>
  </RDF:Description>
</RDF:RDF>
EOF
        put_crlf "$profile/prefs.js" <<'EOF'
# Mozilla User Preferences

/* Do not edit this file.
 *
 * If you make changes to this file while the application is running,
 * the changes will be overwritten when the application exits.
 *
 * To make a manual change to preferences, you can visit the URL about:config
 */

user_pref("browser.startup.homepage", "http://www.example.com/");
user_pref("browser.startup.homepage_override.mstone", "rv:1.8");
user_pref("google.toolbar.search_box_history", "cheap flights to boston\nspringfield weather\nchocolate cake recipe");
user_pref("googlebar.history", "used car prices|example widgets review");
user_pref("GoogleBar.History.MaxItems", 20);
user_pref("network.cookie.cookieBehavior", 0);
user_pref("toolbar.google.search_box_history", "this line is another extension's and stays");
EOF
        put_crlf "$profile/localstore.rdf" <<'EOF'
<?xml version="1.0"?>
<RDF:RDF xmlns:NC="http://home.netscape.com/NC-rdf#"
         xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <RDF:Description RDF:about="chrome://browser/content/browser.xul#main-window"
                   width="1024" height="740" sizemode="normal" />
</RDF:RDF>
EOF
        local yahoo="$profile/extensions/{635abd67-4fe9-1b23-4f01-e679fa7484c1}"
        put_crlf "$profile/ysearch-history.rdf" <<'EOF'
<?xml version="1.0"?>
<RDF:RDF xmlns:NC="http://home.netscape.com/NC-rdf#"
         xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <RDF:Seq RDF:about="urn:ysearch:history">
    <RDF:li RDF:resource="urn:ysearch:term:springfield library hours"/>
    <RDF:li RDF:resource="urn:ysearch:term:used car prices"/>
  </RDF:Seq>
</RDF:RDF>
EOF
        mkdir -p "$yahoo/cache"
        cp "$profile/ysearch-history.rdf" "$yahoo/cache/ysearch-history.rdf"
        put_crlf "$yahoo/cache/searchHistory.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<searchHistory>
  <search term="springfield library hours" time="1736155800"/>
  <search term="used car prices" time="1736069400"/>
  <search term="example widgets review" time="1735983000"/>
</searchHistory>
EOF
    done
}

# ---------------------------------------------------------------------------
# Opera: the profile folder with opera6.ini naming the four history files
# (full paths, all present), the cookie file, the autosaved session and the
# cache4 folder.

seed_opera() {
    local profile_dir=$app_data/Opera/Opera/profile
    local p="$profile_win\\Application Data\\Opera\\Opera\\profile"
    put_crlf "$profile_dir/opera6.ini" <<EOF
Opera Preferences version 2.0
; Do not edit this file while Opera is running
; This file is stored in UTF-8 encoding

[User Prefs]
Language File=C:\\Program Files\\Opera\\english.lng
Hot List File Ver2=$p\\opera6.adr
Direct History File=$p\\dhistory.dat
Global History File=$p\\global.dat
Viewer History File=$p\\vlink4.dat
Button History File=$p\\bhistory.dat
Console Error Log=$p\\error.log
Home URL=http://www.example.com/

[Cache]
Cache Directory4=$p\\cache4\\
EOF
    put_crlf "$profile_dir/global.dat" <<'EOF'
Example News - Today
http://www.example.com/news/today.html
1736155800
-1
Your cart - Example Shop
http://shop.example.org/cart?item=4711
1736152200
-1
Springfield weather
http://www.example.net/weather/springfield
1736069400
-1
EOF
    put_crlf "$profile_dir/dhistory.dat" <<'EOF'
http://www.example.com/news/today.html
shop.example.org
mail.example.com
EOF
    {
        printf '\0\0\x10\0\0\0\x20\x01\0\x01\0\x02'
        printf '%s\0' http://www.example.com/ http://www.example.com/news/today.html http://shop.example.org/cart
    } | put "$profile_dir/vlink4.dat"
    put_crlf "$profile_dir/bhistory.dat" <<'EOF'
http://search.example.com/?q=springfield+weather
http://search.example.com/?q=used+car+prices
EOF
    put_crlf "$profile_dir/opera6.adr" <<'EOF'
Opera Hotlist version 2.0

#URL
	NAME=Example News
	URL=http://www.example.com/news/
EOF
    {
        printf '\0\0\x10\0\0\0\x20\x01\0\x01\0\x02'
        local domain
        for domain in example.com shop.example.org ads.example.net; do
            printf '\x01%b\x1e%b%s\x10\0\x10visitor=a1b2c3d4\x84' "$(be16 $((${#domain} + 23)))" "$(be16 ${#domain})" "$domain"
        done
    } | put "$profile_dir/cookies4.dat"
    put_crlf "$profile_dir/sessions/autosave.win" <<'EOF'
Opera Preferences version 2.0

[session]
version=7000
window count=2

[1]
type=0
x=0
y=0
w=1024
h=740

[1history url]
count=2
1=http://www.example.com/news/today.html
2=http://shop.example.org/cart?item=4711

[2]
type=0

[2history url]
count=1
1=http://mail.example.com/
EOF
    filler "$profile_dir/cache4/dcache4.url" 2048 '\0\0\x10\0'
    put "$profile_dir/cache4/opr00001.htm" <<'EOF'
<html><head><title>Example News - Today</title></head><body><h1>Today's headlines</h1></body></html>
EOF
    put_bytes "$profile_dir/cache4/opr00002.gif" 'GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x01\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b'
    filler "$profile_dir/cache4/opr00003.jpg" 7168 '\xff\xd8\xff\xe0\x00\x10JFIF\x00'
}

# ---------------------------------------------------------------------------
# AOL: the "organize" folder of an AOL 9.0 installation under Common AppData
# with two screen names (a folder each, plus their address-recall ".ARL" and
# auto-complete ".AUT" files), the folders that are never offered as users,
# and the AOL browser cache. The toolbar and deskbar lists are registry data.

seed_aol() {
    local organize screen
    organize=$(unix_path "$common_app_data_win")/AOL/C_America\ Online\ 9.0/organize
    for screen in demosurfer nightowl42; do
        filler "$organize/$screen/$screen.pfc" 8192 'PFC\x00'
        printf '%s\0' http://www.example.com/news/ shop.example.org http://mail.example.com/ | put "$organize/$screen.ARL"
        printf '%s\0' http://www.example.org/downloads/ keyword:weather | put "$organize/${screen}1.ARL"
        printf '%s\0' www.example.com www.example.net/weather | put "$organize/$screen.AUT"
        printf '%s\0' video.example.org | put "$organize/${screen}1.AUT"
    done
    mkdir -p "$organize/newuser" "$organize/existingmember" "$organize/aolpasswordreset"
    filler "$organize/Cache/cache.idx" 4096 'AOLC'
    filler "$organize/Cache/00000001.art" 3072 'JG\x04\x0e'
    filler "$organize/Cache/00000002.art" 5120 'JG\x04\x0e'
    put "$organize/Cache/00000003.htm" <<'EOF'
<html><head><title>Welcome Screen</title></head><body>Top stories from example.com</body></html>
EOF
}

# ---------------------------------------------------------------------------
# Flash and Shockwave: shared objects of three sites below #SharedObjects
# (one randomly named folder, as the player makes it), the player's global
# and per-site settings, and preference files of Shockwave movies.

seed_flash_shockwave() {
    local flash=$app_data/Macromedia/Flash\ Player
    local objects=$flash/\#SharedObjects/K7QW3ZPA
    shared_object "$objects/www.example.com/games/puzzle.swf/highscores.sol" highscores \
        player=demosurfer best=12840 level=7
    shared_object "$objects/www.example.com/games/puzzle.swf/options.sol" options sound=on
    shared_object "$objects/video.example.org/player.swf/volume.sol" volume volume=80 lastVideo=cats-0042
    shared_object "$objects/ads.example.net/tracker.swf/id.sol" id uid=8812733401 seen=14
    local sys=$flash/macromedia.com/support/flashplayer/sys
    shared_object "$sys/settings.sol" settings defaultklimit=100 allowThirdPartyLSOAccess=true
    shared_object "$sys/#www.example.com/settings.sol" settings domain=www.example.com klimit=100
    shared_object "$sys/#video.example.org/settings.sol" settings domain=video.example.org klimit=100

    local prefs=$app_data/Macromedia/Shockwave\ Player/Prefs
    printf 'player=demosurfer\nscore=9120\nlevel=4\n' | put_crlf "$prefs/arcade_example_com_scores.txt"
    printf 'music=off\ndifficulty=hard\n' | put_crlf "$prefs/racer_prefs.txt"
}

# ---------------------------------------------------------------------------
# Quillpad Notes, the application of the demo plug-in definition: autosaved
# drafts (one in a sub-folder) and the recent-files list beside the program.
# Its registry entries are in traces.reg.

seed_plugin_demo() {
    local app=$WINEPREFIX/drive_c/Program\ Files/Quillpad
    printf 'Shopping list\n- milk\n- bread\n' | put_crlf "$app/Autosave/draft-0001.qnt"
    printf 'Call the landlord about the heating.\n' | put_crlf "$app/Autosave/draft-0002.qnt"
    printf 'Birthday ideas for Sam\n' | put_crlf "$app/Autosave/old/draft-0000.qnt"
    printf '%s\n' "$profile_win\\Documents\\shopping list.qnt" "$profile_win\\Documents\\ideas.qnt" |
        put_crlf "$app/recent.lst"
}

# ---------------------------------------------------------------------------
# Today's browsers, for the shipped plug-in definitions: the caches of
# Chrome and Edge (default profile) and of Firefox (every profile), where
# Windows Vista and later keep them. Wine keeps the profile in the same
# layout, so the definitions find them here as they would there.

seed_current_browsers() {
    local local_data=$profile/AppData/Local user_data
    for user_data in "$local_data/Google/Chrome/User Data" "$local_data/Microsoft/Edge/User Data"; do
        printf 'cached page\n' | put "$user_data/Default/Cache/Cache_Data/f_000001"
        printf 'cached image\n' | put "$user_data/Default/Cache/Cache_Data/f_000002"
        printf 'index\n' | put "$user_data/Default/Cache/Cache_Data/index"
        printf 'compiled script\n' | put "$user_data/Default/Code Cache/js/0a1b2c3d4e5f_0"
        printf 'shader\n' | put "$user_data/Default/GPUCache/data_0"
        printf '{"bookmarks": "kept"}\n' | put "$user_data/Default/Bookmarks"
    done
    local profiles=$local_data/Mozilla/Firefox/Profiles/k3v9x2qa.default-release
    printf 'cache entry\n' | put "$profiles/cache2/entries/3F2A1B4C5D6E7F80"
    printf 'cache index\n' | put "$profiles/cache2/index"
    printf 'startup cache\n' | put "$profiles/startupCache/startupCache.8.little"
}

# ---------------------------------------------------------------------------
# Registry: traces.reg with the user's profile folder and name filled in,
# imported in one go.

import_registry() {
    local template profile_reg text reg_win reg_file
    template=$(<"$demo_dir/traces.reg")
    profile_reg=${profile_win//\\/\\\\}
    text=${template//@PROFILE@/"$profile_reg"}
    text=${text//@USERNAME@/"$user_name"}
    reg_win='C:\windows\temp\tarnwell-demo-traces.reg'
    reg_file=$(unix_path "$reg_win")
    mkdir -p "${reg_file%/*}"
    printf '%s\n' "$text" >"$reg_file"
    wine regedit /S "$reg_win"
    wineserver -w
    rm -f "$reg_file"
}

discover_locations
seed_internet_explorer
seed_windows
seed_media_players
seed_netscape
seed_firefox
seed_opera
seed_aol
seed_flash_shockwave
seed_plugin_demo
seed_current_browsers
import_registry
touch "$marker"
echo "seed-demo: demo traces written to $WINEPREFIX (user $user_name)"
