#!/usr/bin/env bash
# Incomplete and unusual media: no logo when the configuration says so, an empty language
# file, a skin without "menu.png", a medium with nothing but Setup.exe. The window opens in
# every case.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin media
start_wine en_US.UTF-8

open_medium() {  # dir, what
    start_setup "$1"
    if wait_window; then pass "$2: the window opens"; return 0; fi
    fail "$2: the window opens"
    start_wine "$E2E_LOCALE"
    return 1
}

# uiShowIcon 0: the background alone where the logo would be.
medium="$WORK/no-logo"
write_medium "$medium"
if open_medium "$medium" "showIcon 0"; then
    shot="$(screenshot no-logo)"
    check_eq "showIcon 0: no logo at (50, 20)" "$COLOUR_MENU" "$(client_pixel "$shot" 50 20)"
    check_eq "showIcon 0: no logo at its far corner" "$COLOUR_MENU" \
        "$(client_pixel "$shot" $((50 + LOGO_WIDTH - 1)) $((20 + LOGO_HEIGHT - 1)))"
    end_setup
fi

# showIcon 2 is not 1: no logo either.
write_medium "$medium" --icons 2 0 0
if open_medium "$medium" "showIcon 2"; then
    check_eq "showIcon 2: no logo at (50, 20)" "$COLOUR_MENU" "$(client_pixel "$(screenshot logo-2)" 50 20)"
    end_setup
fi

# An empty language file: every caption empty, but the seconds read "8" and the dot labels
# "." to ".....".
medium="$WORK/empty-language"
write_medium "$medium" --icons 1 0 0 --empty-language
if open_medium "$medium" "empty language file"; then
    read_dump
    check_texts "empty language file: captions empty, \"8\" and the five dot labels" "" empty
    check_eq "empty language file: the menu page is shown" "$(controls_of MenuPage)" "$(visible_ids)"
    screenshot empty-language >/dev/null
    end_setup
fi

# No "menu.png": the window still opens, with the platform's dialog background, the logo
# still painted and the buttons still skinned.
medium="$WORK/no-menu-png"
write_medium "$medium" --icons 1 0 0 --without ImageIcon/menu.png
if open_medium "$medium" "no menu.png"; then
    read_dump
    shot="$(screenshot no-menu-png)"
    check_eq "no menu.png: the menu page is shown" "$(controls_of MenuPage)" "$(visible_ids)"
    background="$(client_pixel "$shot" 130 500)"
    if [ "$background" != "$COLOUR_MENU" ] && [ -n "$background" ]; then pass "no menu.png: default background"
    else fail "no menu.png: default background" "got $background"; fi
    check_eq "no menu.png: the logo is still painted" "$COLOUR_LOGO" "$(client_pixel "$shot" 50 20)"
    check_eq "no menu.png: buttons keep their images" "$COLOUR_NORMAL" "$(client_pixel "$shot" 403 262)"
    end_setup
fi

# Nothing but Setup.exe: no conf.xml, no Language, no ImageIcon.
medium="$WORK/bare"
write_medium "$medium" --bare
if open_medium "$medium" "bare medium"; then
    read_dump
    check_texts "bare medium: captions empty, \"8\" and the five dot labels" "" empty
    check_eq "bare medium: a button without images has no size" "0 0" \
        "$(awk '{ print $3, $4 }' <<<"${CTL_RECT[IDC_BTN_DEFAULT_INSTALL]}")"
    screenshot bare >/dev/null
    end_setup
fi

e2e_finish
