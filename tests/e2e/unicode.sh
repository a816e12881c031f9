# shellcheck shell=bash
# End-to-end scenarios of a system whose code page cannot hold the wizard's texts nor the
# folder's name, sourced by e2e.sh: a Russian session (code page 1251), where the wizard
# starts in French. The texts are read back in UTF-16 by the probe (tests/e2e/probe.cpp,
# named by QUORVANE_E2E_PROBE), which also reads the registry, since reg.exe prints in the
# code page.

readonly RUSSIAN=ru_RU.UTF-8
readonly RUSSIAN_CODE_PAGE=CP1251
readonly AT_TREE_EMPTY="380 310"  # page 3, inside the folder tree below its items

# Wine takes its code page from the Unix locale, which must exist (scripts/setup makes it).
russian_locale_ready() {
  locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8' && return 0
  fail "the locale $RUSSIAN is missing (scripts/setup generates it)"
  return 1
}

probe_window() { wine "$QUORVANE_E2E_PROBE" window "$1" 2>/dev/null 8>&- | tr -d '\r'; }

expect_probe_value() {  # KEY NAME EXPECTED
  local value
  if value=$(wine "$QUORVANE_E2E_PROBE" value "$1" "$2" 2>/dev/null 8>&- | tr -d '\r'); then
    expect_eq "$1 [$2]" "$value" "$3"
  else
    fail "$1 [$2] is missing"
  fi
}

# The French texts of page 1 as the catalogue holds them, the window's title first.
readonly FRENCH_PAGE1="Installation de Quorvane
Bienvenue à l' installation de Quorvane
Nous vous invitons à suivre ces quelques étapes afin d' installer Quorvane sur votre système
Choisissez votre langue d' installation: 
Français
English
&Précédent
&Suivant
Annuler"

# Every French text of page 1 and of the Cancel question, read in UTF-16, is the
# catalogue's; Yes (the default button: Wine's access keys are Russian) ends the wizard.
scenario_russian_texts() {
  russian_locale_ready || return
  start_wizard "$RUSSIAN" || return
  expect_eq "page 1 in a Russian session" "$(probe_window 'Installation de Quorvane' | sort)" \
    "$(printf '%s\n' "$FRENCH_PAGE1" | sort)"
  click $AT_CANCEL
  if wait_window "$CANCEL_BOX" 10 >/dev/null; then
    expect_eq "the Cancel question" "$(probe_text 'Suspendre?')" \
      "Êtes-vous certain de vouloir arrêter l'installation de Quorvane?"
    answer_box "$CANCEL_BOX" Return 10 || fail "cannot answer the cancel question"
  else
    fail "no cancel question"
  fi
  expect_exit 20
}

# expect_installed_beyond_code_page TYPED_DIR: the French installation's files, links
# and registry values, for a directory whose name the code page cannot hold.
expect_installed_beyond_code_page() {
  local typed=$1 dir name group
  language_names francais
  dir=$(with_backslash "$typed")
  for name in "${SAMPLE_FILES[@]}"; do
    cmp -s "$www/download/qventreprise/$name" "$(unix_path "$dir$name")" ||
      fail "$dir$name differs from the served file or is missing"
  done
  group="$(programs_dir)/Quorvane/$GROUP"
  expect_eq "files in the program group" "$(ls "$group" 2>/dev/null | wc -l)" 3
  local link target report
  for link in "$group/Quorvane.Lnk:quorvane.exe" "$group/miseajour.Lnk:miseajour.exe" \
    "$group/uninstall.Lnk:uninstall.exe" "$(desktop_dir)/$DESKTOP_LINK:quorvane.exe"; do
    target=${link##*:} link=${link%:*}
    if [ ! -f "$link" ]; then fail "shortcut missing: $link"; continue; fi
    report=$("$LNKINFO_CHECK" --target-code-page "$RUSSIAN_CODE_PAGE" "$link" "$dir$target" "$dir") ||
      fail "$report"
  done
  expect_probe_value "$PRODUCT_KEY" emplacement "$typed"
  expect_probe_value "$PRODUCT_KEY" Language francais
  expect_probe_value "$UNINSTALL_KEY$EDITION" UninstallString "\"${dir}Uninstall.exe\""
}

# From page 3 on: Install, the installation, Done with both boxes checked.
install_and_finish() {  # TYPED_DIR
  click $AT_NEXT      # Install
  wait_placed francais 60 || return
  click $AT_NEXT      # Done
  expect_exit 30
  expect_installed_beyond_code_page "$1"
  local ini=$WINEPREFIX/drive_c/windows/Quorvane_e.ini
  if [ -f "$ini" ]; then expect_eq "Quorvane_e.ini [Settings] langue" "$(ini_value "$ini" Settings langue)" francais
  else fail "Quorvane_e.ini is missing"; fi
  expect_probe_value "$RUN_KEY" QuorvaneEntreprise "\"$(with_backslash "$1")Quorvane.exe\""
}

# A folder of "C:\Program Files" chosen in the tree with the keyboard: it sorts last in
# any order, so End reaches it once the root is open.
scenario_russian_tree() {
  local folder='Źródło ☃' dir
  dir="C:\\Program Files\\$folder\\Quorvane\\Entreprise\\"
  russian_locale_ready || return
  mkdir -p "$(unix_path "C:\\Program Files\\$folder")"
  start_wizard "$RUSSIAN" || return
  click $AT_NEXT      # page 2
  click $AT_AGREE
  click $AT_NEXT      # page 3
  click $AT_TREE_EMPTY
  xdotool key --delay 100 Home Right End
  wait_for 10 probe_shows "$dir" || fail "the tree gave the directory box '$(probe_window 'Installation de Quorvane' | grep '^C:')'"
  install_and_finish "$dir"
}

probe_shows() { probe_window 'Installation de Quorvane' | grep -qxF "$1"; }

# The directory typed into the box, letters of no single code page included.
scenario_russian_typed() {
  local dir='C:\Quorvane Łaźnia ☃'  # xdotool cannot type every letter to Wine: not ó
  russian_locale_ready || return
  start_wizard "$RUSSIAN" || return
  click $AT_NEXT      # page 2
  click $AT_AGREE
  click $AT_NEXT      # page 3
  type_directory "$dir"
  wait_for 10 probe_shows "$dir" || fail "the directory box shows '$(probe_window 'Installation de Quorvane' | grep '^C:')'"
  install_and_finish "$dir"
}
