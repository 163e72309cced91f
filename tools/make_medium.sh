#!/usr/bin/env bash
# Assembles the sample installation medium that ./dev demo opens: Setup.exe from a build,
# conf.xml, the interface text table and three language files (English, German, Simplified
# Chinese), the skin, sample installers and manuals.
#   tools/make_medium.sh BUILD_DIR OUT_DIR
set -euo pipefail
BUILD="${1:?usage: make_medium.sh BUILD_DIR OUT_DIR}"
OUT="${2:?usage: make_medium.sh BUILD_DIR OUT_DIR}"
TOOLS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

[ -f "$BUILD/Setup.exe" ] || { echo "make_medium.sh: no $BUILD/Setup.exe (build first)" >&2; exit 1; }
# Only a folder this script made (or a new one) is cleared.
if [ -e "$OUT" ] && [ ! -f "$OUT/.sample-medium" ]; then
    echo "make_medium.sh: $OUT exists and is not a sample medium; not touching it" >&2
    exit 1
fi
rm -rf "$OUT"
mkdir -p "$OUT/Language" "$OUT/ImageIcon"
touch "$OUT/.sample-medium"
cp "$BUILD/Setup.exe" "$OUT/Setup.exe"

# ---------------------------------------------------------------- conf.xml
cat >"$OUT/conf.xml" <<'EOF'
<?xml version="1.0" encoding="utf-8"?>
<setup debug="no">
  <ui showIcon="1"/>
  <installs showIcon="1">
    <item strId="APP_MAIN" open="Setup/Main/studio_exit0_5s.exe" default="1" icon="1"/>
    <item strId="APP_TOOLS" open="Setup/Tools/*.exe" default="1" icon="2"/>
    <item strId="APP_DRIVER" open="Setup/Driver/{language}/driver_exit3010_4s.exe" defaultLanguage="en" icon="3"/>
    <item strId="APP_SAMPLES" open="Setup/Samples/samples_exit0_3s.exe" icon="4"/>
    <item strId="APP_CLOUD" default="1" icon="1"/>
  </installs>
  <manuals showIcon="1">
    <item strId="DOC_GUIDE" open="Manuals/{language}/guide.txt" defaultLanguage="en" icon="5"/>
    <item strId="DOC_README" open="Manuals/readme.txt" icon="5"/>
    <item strId="DOC_LICENSE" open="Manuals/license.txt" icon="5"/>
  </manuals>
</setup>
EOF

# ---------------------------------------------------------------- interface texts
# One entry per interface text, in the window's fixed order (37 entries; the window skips one
# slot after the 35th, so the last two are the run's result words).
UI_KEYS=(TITLE SUBTITLE DEFAULT_INSTALL DEFAULT_INFO DEFAULT_INFO2 CUSTOM_INSTALL CUSTOM_INFO MANUALS
         MANUALS_INFO EXIT DEFAULT_TEXT1 INSTALL_TEXT2 RESERVED12 RESERVED13 RESERVED14 RESERVED15 BACK
         INSTALL CANCEL INSTALLING INSTALLING_TEXT FINISH_TITLE FINISH_TEXT FINISH SELECT_ALL SELECT_NONE
         CUSTOM_TEXT1 MANUALS_TEXT1 MANUALS_TEXT2 RESERVED29 RESTART_LEAD RESTART_TEXT EXIT_QUESTION1
         EXIT_QUESTION2 EXIT_CAPTION RESULT_OK RESULT_FAILED)
{
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<ui>'
    for i in "${!UI_KEYS[@]}"; do printf '  <text id="%d" max="254">%s</text>\n' "$i" "${UI_KEYS[$i]}"; done
    echo '</ui>'
} >"$OUT/Language/UICfg.xml"

cat >"$OUT/Language/en-us.ini" <<'EOF'
[ROOT]
TITLE = Aurora Suite 2.0
SUBTITLE = Installation and documentation
DEFAULT_INSTALL = Standard installation
DEFAULT_INFO = Installs the recommended components
DEFAULT_INFO2 = with the usual settings.
CUSTOM_INSTALL = Custom installation
CUSTOM_INFO = Choose the components yourself.
MANUALS = Manuals
MANUALS_INFO = Read the guides before you start.
EXIT = Exit
DEFAULT_TEXT1 = The following components will be installed:
INSTALL_TEXT2 = Click Install to start. The computer restarts when the installation is complete.
RESERVED12 = Version 2.0
RESERVED13 = Aurora Software
RESERVED14 = www.aurora-software.example
RESERVED15 = Support
BACK = Back
INSTALL = Install
CANCEL = Cancel
INSTALLING = Installing
INSTALLING_TEXT = Please wait while the selected components are installed.
FINISH_TITLE = Installation complete
FINISH_TEXT = The results are listed below.
FINISH = Restart now
SELECT_ALL = Select all
SELECT_NONE = Select none
CUSTOM_TEXT1 = Tick the components you want to install:
MANUALS_TEXT1 = Double-click a document to open it.
MANUALS_TEXT2 = Documents open in the program associated with their type.
RESERVED29 = Documentation
RESTART_LEAD = In
RESTART_TEXT = seconds the computer restarts to complete the installation. Save your work now.
EXIT_QUESTION1 = Do you really want to exit Setup?
EXIT_QUESTION2 = An installation in progress will be stopped.
EXIT_CAPTION = Exit Setup
RESULT_OK = Installed
RESULT_FAILED = Failed
APP_MAIN = Aurora Studio
APP_TOOLS = Command-line tools
APP_DRIVER = USB device driver
APP_SAMPLES = Sample projects
APP_CLOUD = Cloud connector (not on this medium)
DOC_GUIDE = User guide
DOC_README = Read me first
DOC_LICENSE = Licence agreement
EOF

cat >"$OUT/Language/de-de.ini" <<'EOF'
[ROOT]
TITLE = Aurora Suite 2.0
SUBTITLE = Installation und Dokumentation
DEFAULT_INSTALL = Standardinstallation
DEFAULT_INFO = Installiert die empfohlenen Komponenten
DEFAULT_INFO2 = mit den üblichen Einstellungen.
CUSTOM_INSTALL = Benutzerdefinierte Installation
CUSTOM_INFO = Wählen Sie die Komponenten selbst aus.
MANUALS = Handbücher
MANUALS_INFO = Lesen Sie die Anleitungen vor dem Start.
EXIT = Beenden
DEFAULT_TEXT1 = Die folgenden Komponenten werden installiert:
INSTALL_TEXT2 = Klicken Sie auf „Installieren“. Nach der Installation startet der Computer neu.
RESERVED12 = Version 2.0
RESERVED13 = Aurora Software
RESERVED14 = www.aurora-software.example
RESERVED15 = Kundendienst
BACK = Zurück
INSTALL = Installieren
CANCEL = Abbrechen
INSTALLING = Installation läuft
INSTALLING_TEXT = Bitte warten Sie, bis die ausgewählten Komponenten installiert sind.
FINISH_TITLE = Installation abgeschlossen
FINISH_TEXT = Die Ergebnisse stehen in der Liste.
FINISH = Jetzt neu starten
SELECT_ALL = Alle wählen
SELECT_NONE = Keine wählen
CUSTOM_TEXT1 = Markieren Sie die Komponenten, die installiert werden sollen:
MANUALS_TEXT1 = Doppelklicken Sie auf ein Dokument, um es zu öffnen.
MANUALS_TEXT2 = Dokumente öffnen sich im zugeordneten Programm.
RESERVED29 = Dokumentation
RESTART_LEAD = In
RESTART_TEXT = Sekunden startet der Computer neu, um die Installation abzuschließen. Sichern Sie jetzt Ihre Arbeit.
EXIT_QUESTION1 = Möchten Sie das Setup wirklich beenden?
EXIT_QUESTION2 = Eine laufende Installation wird abgebrochen.
EXIT_CAPTION = Setup beenden
RESULT_OK = Installiert
RESULT_FAILED = Fehlgeschlagen
APP_MAIN = Aurora Studio
APP_TOOLS = Befehlszeilenwerkzeuge
APP_DRIVER = USB-Gerätetreiber
APP_SAMPLES = Beispielprojekte
APP_CLOUD = Cloud-Anbindung (nicht auf diesem Datenträger)
DOC_GUIDE = Benutzerhandbuch
DOC_README = Bitte zuerst lesen
DOC_LICENSE = Lizenzvertrag
EOF

cat >"$OUT/Language/zh-cn.ini" <<'EOF'
[ROOT]
TITLE = Aurora 套件 2.0
SUBTITLE = 安装与文档
DEFAULT_INSTALL = 标准安装
DEFAULT_INFO = 安装推荐的组件
DEFAULT_INFO2 = 并使用常用设置。
CUSTOM_INSTALL = 自定义安装
CUSTOM_INFO = 自行选择要安装的组件。
MANUALS = 使用手册
MANUALS_INFO = 开始之前请阅读指南。
EXIT = 退出
DEFAULT_TEXT1 = 将安装以下组件：
INSTALL_TEXT2 = 单击“安装”开始。安装完成后计算机将重新启动。
RESERVED12 = 版本 2.0
RESERVED13 = Aurora 软件
RESERVED14 = www.aurora-software.example
RESERVED15 = 技术支持
BACK = 返回
INSTALL = 安装
CANCEL = 取消
INSTALLING = 正在安装
INSTALLING_TEXT = 请稍候，正在安装所选组件。
FINISH_TITLE = 安装完成
FINISH_TEXT = 结果如下所示。
FINISH = 立即重启
SELECT_ALL = 全选
SELECT_NONE = 全不选
CUSTOM_TEXT1 = 请勾选要安装的组件：
MANUALS_TEXT1 = 双击文档即可打开。
MANUALS_TEXT2 = 文档将用与其类型关联的程序打开。
RESERVED29 = 文档
RESTART_LEAD = 将在
RESTART_TEXT = 秒后重新启动计算机以完成安装。请立即保存您的工作。
EXIT_QUESTION1 = 确实要退出安装程序吗？
EXIT_QUESTION2 = 正在进行的安装将被中止。
EXIT_CAPTION = 退出安装程序
RESULT_OK = 已安装
RESULT_FAILED = 失败
APP_MAIN = Aurora Studio
APP_TOOLS = 命令行工具
APP_DRIVER = USB 设备驱动程序
APP_SAMPLES = 示例项目
APP_CLOUD = 云连接器（不在此介质上）
DOC_GUIDE = 用户指南
DOC_README = 请先阅读
DOC_LICENSE = 许可协议
EOF

# ---------------------------------------------------------------- skin
if [ -x "$TOOLS/make_skin.sh" ] || [ -f "$TOOLS/make_skin.sh" ]; then
    bash "$TOOLS/make_skin.sh" "$OUT/ImageIcon"
else
    # Plain stand-in until the drawn skin exists: a background and three button states.
    for size in 400x70:Button 280x50:Button 136x40:button 120x26:button; do
        dims="${size%%:*}" word="${size##*:}"
        /usr/bin/convert -size "$dims" xc:'#2f6fb5' "PNG32:$OUT/ImageIcon/${dims}_${word}_Normal.png"
        /usr/bin/convert -size "$dims" xc:'#4a90d9' "PNG32:$OUT/ImageIcon/${dims}_${word}_Hover.png"
        /usr/bin/convert -size "$dims" xc:'#1d4f86' "PNG32:$OUT/ImageIcon/${dims}_${word}_Pressed.png"
    done
    /usr/bin/convert -size 800x570 xc:'#eef3f8' "PNG24:$OUT/ImageIcon/menu.png"
    /usr/bin/convert -size 180x40 xc:none -fill '#2f6fb5' -draw 'circle 20,20 20,4' "PNG32:$OUT/ImageIcon/logo.png"
fi

# ---------------------------------------------------------------- installers and manuals
# Harmless sample installers: copies of the test installer, whose file name gives its exit
# code and duration; each shows a small window meanwhile and logs to install.log beside it.
INSTALLER_EXE="$BUILD/tests/e2e/installers/installer.exe"
[ -f "$INSTALLER_EXE" ] || { echo "make_medium.sh: no $INSTALLER_EXE (build first)" >&2; exit 1; }
installer() {  # path
    mkdir -p "$(dirname "$OUT/$1")"
    cp "$INSTALLER_EXE" "$OUT/$1"
}
installer Setup/Main/studio_exit0_5s.exe
installer Setup/Tools/tools_exit0_3s.exe
installer Setup/Driver/en-us/driver_exit3010_4s.exe
installer Setup/Driver/de-de/driver_exit3010_4s.exe
installer Setup/Samples/samples_exit0_3s.exe

manual() {  # path, text (UTF-8)
    mkdir -p "$(dirname "$OUT/$1")"
    printf '%s\r\n' "$2" >"$OUT/$1"
}
manual Manuals/en-us/guide.txt "Aurora Suite 2.0 - User guide. Start Aurora Studio from the Start menu."
manual Manuals/de-de/guide.txt "Aurora Suite 2.0 - Benutzerhandbuch. Starten Sie Aurora Studio über das Startmenü."
manual Manuals/zh-cn/guide.txt "Aurora 套件 2.0 - 用户指南。请从开始菜单启动 Aurora Studio。"
manual Manuals/readme.txt "Aurora Suite 2.0 - Read me first. Close all programs before you install."
manual Manuals/license.txt "Aurora Suite 2.0 - Licence agreement (sample text)."

echo "sample medium in $OUT"
