# Sourced: the Wine environment of one prefix.
#   wine_env PREFIX      exports it (the prefix's folder is made, nothing else)
#   wine_boot            creates the prefix once; parallel callers wait for the first one
#   wine_locale CMD...   runs a Wine command in the program's locale
# The ANSI code page is 936, as on the systems the program is written for; Wine derives it from
# the locale. Mono and Gecko are not installed: nothing here needs them, and their installers
# would ask questions. SimSun, the user-interface font of a Chinese Windows, is not here; a
# Ming-style font of the same metrics stands in for it, so that texts fit their controls as
# they do there. There is no window manager on Xvfb: Wine draws the window frames itself and
# leaves its windows unmanaged, instead of waiting on each new window for a manager's answer.
wine_env() {
  export WINEPREFIX=$1
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$WINEPREFIX"
}

wine_boot() {
  [ -f "$WINEPREFIX/.booted" ] && return 0
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.booted" ]; then
      wine_locale wineboot -i >/dev/null 2>&1
      wine_locale wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun \
        /d 'AR PL UMing CN' /f >/dev/null 2>&1
      wine_locale wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f \
        >/dev/null 2>&1
      wine_locale wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
      touch "$WINEPREFIX/.booted"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Only Wine sees the locale: the shell itself may not have it installed.
wine_locale() {
  env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
}
