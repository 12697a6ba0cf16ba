// Built-in message texts, each stored as bytes in its row's code page.
// Generated from src/text/messages/*.txt by scripts/gen_message_table.py: edit the
// texts there and rerun it. The formatter leaves the script's layout alone.
// clang-format off
#include "text/messages.h"

// Chinese (PRC), code page 936
static const MessageEntry kChinesePrcMessages[] = {
    {0, "\xB0\xB2\xD7\xB0"},
    {1,
     "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xA3\xAC\xC7\xEB\xC9\xD4"
     "\xB5\xC8..."},
    {3, "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA%04X.%08X"},
    {2, "\xC4\xDA\xB2\xBF\xB4\xED\xCE\xF3"},
    {4, "\xB4\xED\xCE\xF3"},
    {5,
     "\xB4\xCB\xB3\xCC\xD0\xF2\xB2\xBB\xD6\xA7\xB3\xD6\xBC\xEC\xB2\xE2\xB5\xBD\xB5\xC4\xB2\xD9"
     "\xD7\xF7\xCF\xB5\xCD\xB3\xA1\xA3"},
    {6, "\xBE\xAF\xB8\xE6"},
    {7,
     "\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xD5\xD2\xB2\xBB\xB5\xBD\xBF\xC9\xD2\xD4\xC9\xFD\xBC\xB6"
     "\xB5\xC4\xB4\xCB\xC8\xED\xBC\xFE\xB5\xC4\xD3\xD0\xD0\xA7\xB0\xE6\xB1\xBE\xA1\xA3\n"
     "\xC7\xEB\xC8\xB7\xC8\xCF\xC4\xFA\xCA\xB9\xD3\xC3\xB5\xC4\xCA\xC7\xD5\xFD\xC8\xB7\xB5\xC4"
     "\xC9\xFD\xBC\xB6\xB0\xE6\xB1\xBE\xA1\xA3\n\n"},
    {8,
     "\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xBC\xEC\xB2\xE2\xB5\xBD\xD2\xAA\xB0\xB2\xD7\xB0\xB5\xC4"
     "\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xD5\xFD\xD4\xDA\xD4\xCB\xD0\xD0\xA1\xA3\n"
     "\xD2\xAA\xBC\xCC\xD0\xF8\xB0\xB2\xD7\xB0\xA3\xAC\xD2\xAA\xB0\xB2\xD7\xB0\xB5\xC4\xD3\xA6"
     "\xD3\xC3\xB3\xCC\xD0\xF2\xB2\xBB\xC4\xDC\xB4\xA6\xD3\xDA\xD4\xCB\xD0\xD0\xD7\xB4\xCC\xAC"
     "\xA1\xA3\xC7\xEB\xB9\xD8\xB1\xD5\xB8\xC3\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xB2\xA2\xD1\xA1"
     "\xD4\xF1\xA1\xB0\xCA\xC7\xA1\xB1\xD2\xD4\xBC\xCC\xD0\xF8\xA3\xAC\xBB\xF2\xD5\xDF\xD1\xA1"
     "\xD4\xF1\xA1\xB0\xB7\xF1\xA1\xB1\xCD\xCB\xB3\xF6\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xA3\xAC"
     "\xC9\xD4\xBA\xF3\xD4\xD9\xD6\xD8\xD0\xC2\xD4\xCB\xD0\xD0\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2"
     "\xA1\xA3"},
    {9,
     "\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xBC\xEC\xB2\xE2\xB5\xBD\xD2\xD4\xCF\xC2\xB2\xBB\xBC\xE6"
     "\xC8\xDD\xB5\xC4\xC8\xED\xBC\xFE\xA3\xBA\n\n"
     "_PRODUCT_NAME_\xA1\xA3\n\n"
     "\xB1\xD8\xD0\xEB\xCF\xC8\xD0\xB6\xD4\xD8\xB8\xC3\xC8\xED\xBC\xFE\xB2\xC5\xC4\xDC\xBC\xCC"
     "\xD0\xF8\xA1\xA3\n"
     "\xCA\xC7\xB7\xF1\xC1\xA2\xBC\xB4\xD0\xB6\xD4\xD8\xA3\xBF"},
    {10,
     "\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xBC\xEC\xB2\xE2\xB5\xBD\xD2\xD4\xC7\xB0\xB0\xB2\xD7\xB0"
     "\xB5\xC4 _OLD_PRODUCT_NAME_\xA1\xA3\n\n"
     "\xD2\xAA\xB0\xB2\xD7\xB0 _PRODUCT_NAME_ _PRODUCT_VERSION_\xA3\xAC\xB1\xD8\xD0\xEB\xCF\xC8"
     "\xD0\xB6\xD4\xD8\n"
     "_OLD_PRODUCT_NAME_ \xB5\xC4\xCF\xD6\xD3\xD0\xB0\xE6\xB1\xBE\xA1\xA3\n"
     "\xCA\xC7\xB7\xF1\xC1\xA2\xBC\xB4\xD0\xB6\xD4\xD8 _OLD_PRODUCT_NAME_\xA3\xBF\n"
     "\xD1\xA1\xD4\xF1\xA1\xB0\xCA\xC7\xA1\xB1\xD0\xB6\xD4\xD8 _OLD_PRODUCT_NAME_\xA1\xA3\n"
     "\xD1\xA1\xD4\xF1\xA1\xB0\xB7\xF1\xA1\xB1\xCD\xCB\xB3\xF6\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2"
     "\xA1\xA3"},
    {11,
     "\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xBC\xEC\xB2\xE2\xB5\xBD\xD2\xD4\xCF\xC2\xB2\xBB\xBC\xE6"
     "\xC8\xDD\xB5\xC4\xC8\xED\xBC\xFE\xA3\xBA\n\n"
     "_PRODUCT_NAME_\xA1\xA3\n\n"
     "\xB0\xB2\xD7\xB0\xCE\xDE\xB7\xA8\xBC\xCC\xD0\xF8\xA1\xA3\xD3\xD0\xB9\xD8\xCF\xEA\xCF\xB8"
     "\xD0\xC5\xCF\xA2\xA3\xAC\xC7\xEB\xB2\xCE\xD4\xC4 README \xCE\xC4\xBC\xFE\xA1\xA3"},
    {12,
     "\xB4\xCB\xB3\xCC\xD0\xF2\xB2\xBB\xC4\xDC\xB0\xB2\xD7\xB0\xD4\xDA Windows NT Server "
     "\xC9\xCF\xA1\xA3"},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "\xB1\xD8\xD0\xEB\xD6\xD8\xD0\xC2\xC6\xF4\xB6\xAF\xCF\xB5\xCD\xB3\xA3\xAC\xB6\xD4 "
     "_PRODUCT_NAME_ \xCB\xF9\xD7\xF6\xB5\xC4\xC5\xE4\xD6\xC3\xB8\xFC\xB8\xC4\xB2\xC5\xC4\xDC"
     "\xC9\xFA\xD0\xA7\xA1\xA3\xB5\xA5\xBB\xF7\xA1\xB0\xCA\xC7\xA1\xB1\xC1\xA2\xBC\xB4\xD6\xD8"
     "\xD0\xC2\xC6\xF4\xB6\xAF\xA3\xBB\xC8\xE7\xB9\xFB\xB4\xF2\xCB\xE3\xC9\xD4\xBA\xF3\xCA\xD6"
     "\xB6\xAF\xD6\xD8\xD0\xC2\xC6\xF4\xB6\xAF\xA3\xAC\xC7\xEB\xB5\xA5\xBB\xF7\xA1\xB0\xB7\xF1"
     "\xA1\xB1\xA1\xA3"},
    {0, nullptr},
};

// Chinese (Taiwan), code page 950
static const MessageEntry kChineseTaiwanMessages[] = {
    {0, "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1"},
    {1,
     "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xB8\xFC\xA4\x4A\xA4\xA4\xA1\x41\xBD\xD0\xB5\x79\xAD\xD4"
     "...."},
    {3, "\xBF\xF9\xBB\x7E\xBD\x58\xA1\x47%04X.%08X"},
    {2, "\xA4\xBA\xB3\xA1\xBF\xF9\xBB\x7E"},
    {4, "\xBF\xF9\xBB\x7E"},
    {5,
     "\xA6\xB9\xB5\x7B\xA6\xA1\xA4\xA3\xA4\xE4\xB4\xA9\xB0\xBB\xB4\xFA\xA8\xEC\xAA\xBA\xA7\x40"
     "\xB7\x7E\xA8\x74\xB2\xCE\xA1\x43"},
    {6, "\xC4\xB5\xA7\x69"},
    {7,
     "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xA7\xE4\xA4\xA3\xA8\xEC\xA5\x69\xA4\xC9\xAF\xC5\xAA\xBA"
     "\xA6\xB9\xB3\x6E\xC5\xE9\xA6\xB3\xAE\xC4\xAA\xA9\xA5\xBB\xA1\x43\n"
     "\xBD\xD0\xBD\x54\xA9\x77\xB1\x7A\xA8\xCF\xA5\xCE\xAA\xBA\xAC\x4F\xA5\xBF\xBD\x54\xAA\xBA"
     "\xA4\xC9\xAF\xC5\xAA\xA9\xA5\xBB\xA1\x43\n\n"},
    {8,
     "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xB0\xBB\xB4\xFA\xA8\xEC\xAD\x6E\xA6\x77\xB8\xCB\xAA\xBA"
     "\xC0\xB3\xA5\xCE\xB5\x7B\xA6\xA1\xA5\xBF\xA6\x62\xB0\xF5\xA6\xE6\xA1\x43\n"
     "\xAD\x59\xAD\x6E\xC4\x7E\xC4\xF2\xA6\x77\xB8\xCB\xA1\x41\xAD\x6E\xA6\x77\xB8\xCB\xAA\xBA"
     "\xC0\xB3\xA5\xCE\xB5\x7B\xA6\xA1\xA5\xB2\xB6\xB7\xA4\xA3\xA6\x62\xB0\xF5\xA6\xE6\xA4\xA4"
     "\xA1\x43\xBD\xD0\xC3\xF6\xB3\xAC\xC0\xB3\xA5\xCE\xB5\x7B\xA6\xA1\xA8\xC3\xBF\xEF\xBE\xDC"
     "\xA1\x75\xAC\x4F\xA1\x76\xC4\x7E\xC4\xF2\xA1\x41\xA9\xCE\xBF\xEF\xBE\xDC\xA1\x75\xA7\x5F"
     "\xA1\x76\xB5\xB2\xA7\xF4\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xA1\x41\xB5\x79\xAB\xE1\xA6\x41"
     "\xAD\xAB\xB7\x73\xB0\xF5\xA6\xE6\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xA1\x43"},
    {9,
     "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xB0\xBB\xB4\xFA\xA8\xEC\xA4\x55\xA6\x43\xA4\xA3\xAC\xDB"
     "\xAE\x65\xAA\xBA\xB3\x6E\xC5\xE9\xA1\x47\n\n"
     "_PRODUCT_NAME_\xA1\x43\n\n"
     "\xA5\xB2\xB6\xB7\xA5\xFD\xB8\xD1\xB0\xA3\xA6\x77\xB8\xCB\xA6\xB9\xB3\x6E\xC5\xE9\xA4\x7E"
     "\xAF\xE0\xC4\x7E\xC4\xF2\xA1\x43\n"
     "\xB1\x7A\xAD\x6E\xA5\xDF\xA7\x59\xB8\xD1\xB0\xA3\xA6\x77\xB8\xCB\xB6\xDC\xA1\x48"},
    {10,
     "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xB0\xBB\xB4\xFA\xA8\xEC\xA5\xFD\xAB\x65\xA6\x77\xB8\xCB"
     "\xAA\xBA _OLD_PRODUCT_NAME_\xA1\x43\n\n"
     "\xAD\x59\xAD\x6E\xA6\x77\xB8\xCB _PRODUCT_NAME_ _PRODUCT_VERSION_\xA1\x41\xB1\x7A\xA5\xB2"
     "\xB6\xB7\xA5\xFD\xB8\xD1\xB0\xA3\xA6\x77\xB8\xCB\n"
     "_OLD_PRODUCT_NAME_ \xAA\xBA\xB2\x7B\xA6\xB3\xAA\xA9\xA5\xBB\xA1\x43\n"
     "\xB1\x7A\xAD\x6E\xA5\xDF\xA7\x59\xB8\xD1\xB0\xA3\xA6\x77\xB8\xCB _OLD_PRODUCT_NAME_ "
     "\xB6\xDC\xA1\x48\n"
     "\xBF\xEF\xBE\xDC\xA1\x75\xAC\x4F\xA1\x76\xB8\xD1\xB0\xA3\xA6\x77\xB8\xCB "
     "_OLD_PRODUCT_NAME_\xA1\x43\n"
     "\xBF\xEF\xBE\xDC\xA1\x75\xA7\x5F\xA1\x76\xB5\xB2\xA7\xF4\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1"
     "\xA1\x43"},
    {11,
     "\xA6\x77\xB8\xCB\xB5\x7B\xA6\xA1\xB0\xBB\xB4\xFA\xA8\xEC\xA4\x55\xA6\x43\xA4\xA3\xAC\xDB"
     "\xAE\x65\xAA\xBA\xB3\x6E\xC5\xE9\xA1\x47\n\n"
     "_PRODUCT_NAME_\xA1\x43\n\n"
     "\xA6\x77\xB8\xCB\xB5\x4C\xAA\x6B\xC4\x7E\xC4\xF2\xA1\x43\xA6\x70\xBB\xDD\xB8\xD4\xB2\xD3"
     "\xB8\xEA\xB0\x54\xA1\x41\xBD\xD0\xB0\xD1\xBE\x5C README \xC0\xC9\xAE\xD7\xA1\x43"},
    {12,
     "\xA6\xB9\xB5\x7B\xA6\xA1\xB5\x4C\xAA\x6B\xA6\x77\xB8\xCB\xA6\x62 Windows NT Server "
     "\xA4\x57\xA1\x43"},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "\xB1\x7A\xA5\xB2\xB6\xB7\xAD\xAB\xB7\x73\xB1\xD2\xB0\xCA\xA8\x74\xB2\xCE\xA1\x41\xB9\xEF "
     "_PRODUCT_NAME_ \xA9\xD2\xB0\xB5\xAA\xBA\xB3\x5D\xA9\x77\xC5\xDC\xA7\xF3\xA4\x7E\xB7\x7C"
     "\xA5\xCD\xAE\xC4\xA1\x43\xAB\xF6\xA4\x40\xA4\x55\xA1\x75\xAC\x4F\xA1\x76\xA5\xDF\xA7\x59"
     "\xAD\xAB\xB7\x73\xB1\xD2\xB0\xCA\xA1\x46\xA6\x70\xAA\x47\xB1\x7A\xA5\xB4\xBA\xE2\xB5\x79"
     "\xAB\xE1\xA4\xE2\xB0\xCA\xAD\xAB\xB7\x73\xB1\xD2\xB0\xCA\xA1\x41\xBD\xD0\xAB\xF6\xA4\x40"
     "\xA4\x55\xA1\x75\xA7\x5F\xA1\x76\xA1\x43"},
    {0, nullptr},
};

// Danish, code page 1252
static const MessageEntry kDanishMessages[] = {
    {0, "Installation"},
    {1, "Vent, mens installationen forberedes...."},
    {3, "Fejlkode: %04X.%08X"},
    {2, "Intern fejl"},
    {4, "Fejl"},
    {5, "Dette program underst\xF8tter ikke det registrerede operativsystem."},
    {6, "Advarsel"},
    {7,
     "Installationsprogrammet kan ikke finde en gyldig version af dette program, der kan "
     "opgraderes.\n"
     "Kontroller, at du bruger den korrekte opgraderingsversion.\n\n"},
    {8,
     "Installationsprogrammet har registreret, at det program, der installeres, k\xF8rer.\n"
     "Installationen kan kun forts\xE6tte, hvis det program, der installeres, ikke k\xF8rer.  Luk "
     "enten programmet, og v\xE6lg JA for at forts\xE6tte, eller v\xE6lg NEJ for at afslutte "
     "installationsprogrammet og k\xF8re det igen senere."},
    {9,
     "Installationsprogrammet har fundet f\xF8lgende inkompatible software: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Den skal fjernes, f\xF8r installationen kan forts\xE6tte.\n"
     "Vil du fjerne den nu?"},
    {10,
     "Installationsprogrammet har fundet en tidligere installation af _OLD_PRODUCT_NAME_.\n\n"
     "F\xF8r du kan installere _PRODUCT_NAME_ _PRODUCT_VERSION_, skal du fjerne\n"
     "den eksisterende version af _OLD_PRODUCT_NAME_.\n"
     "Vil du fjerne _OLD_PRODUCT_NAME_ nu?\n"
     "V\xE6lg Ja for at fjerne _OLD_PRODUCT_NAME_.\n"
     "V\xE6lg Nej for at afslutte installationsprogrammet."},
    {11,
     "Installationsprogrammet har fundet f\xF8lgende inkompatible software: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Installationen kan ikke forts\xE6tte.  Se filen README for at f\xE5 flere oplysninger."},
    {12, "Dette program kan ikke installeres p\xE5 Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Du skal genstarte systemet, f\xF8r konfigurations\xE6ndringerne i _PRODUCT_NAME_ "
     "tr\xE6" "der i kraft. Klik p\xE5 Ja for at genstarte nu eller p\xE5 Nej, hvis du vil "
     "genstarte manuelt senere."},
    {0, nullptr},
};

// German, code page 1252
static const MessageEntry kGermanMessages[] = {
    {0, "Setup"},
    {1, "Setup wird geladen. Bitte warten...."},
    {3, "Fehlercode: %04X.%08X"},
    {2, "Interner Fehler"},
    {4, "Fehler"},
    {5, "Dieses Programm unterst\xFCtzt das erkannte Betriebssystem nicht."},
    {6, "Warnung"},
    {7,
     "Setup kann keine g\xFCltige Version dieser Software finden, die aktualisiert werden kann.\n"
     "Stellen Sie sicher, dass Sie die richtige Aktualisierungsversion verwenden.\n\n"},
    {8,
     "Setup hat festgestellt, dass die zu installierende Anwendung ausgef\xFChrt wird.\n"
     "Damit Setup fortgesetzt werden kann, darf die zu installierende Anwendung nicht "
     "ausgef\xFChrt werden.  Schlie\xDF" "en Sie entweder die Anwendung, und klicken Sie auf JA, "
     "um fortzufahren, oder klicken Sie auf NEIN, um Setup zu beenden und sp\xE4ter erneut "
     "auszuf\xFChren."},
    {9,
     "Setup hat folgende inkompatible Software gefunden: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Sie muss deinstalliert werden, bevor Setup fortgesetzt werden kann.\n"
     "M\xF6" "chten Sie sie jetzt deinstallieren?"},
    {10,
     "Setup hat eine fr\xFChere Installation von _OLD_PRODUCT_NAME_ gefunden.\n\n"
     "Um _PRODUCT_NAME_ _PRODUCT_VERSION_ zu installieren, m\xFCssen Sie zuerst\n"
     "die vorhandene Version von _OLD_PRODUCT_NAME_ deinstallieren.\n"
     "M\xF6" "chten Sie _OLD_PRODUCT_NAME_ jetzt deinstallieren?\n"
     "Klicken Sie auf Ja, um _OLD_PRODUCT_NAME_ zu deinstallieren.\n"
     "Klicken Sie auf Nein, um Setup zu beenden."},
    {11,
     "Setup hat folgende inkompatible Software gefunden: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Die Installation kann nicht fortgesetzt werden.  Weitere Informationen finden Sie in der "
     "README-Datei."},
    {12, "Dieses Programm kann nicht unter Windows NT Server installiert werden."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Sie m\xFCssen das System neu starten, damit die an _PRODUCT_NAME_ vorgenommenen "
     "Konfigurations\xE4nderungen wirksam werden. Klicken Sie auf Ja, um jetzt neu zu starten, "
     "oder auf Nein, wenn Sie das System sp\xE4ter manuell neu starten m\xF6" "chten."},
    {0, nullptr},
};

// English (United States), code page 1252
static const MessageEntry kEnglishMessages[] = {
    {0, "Setup"},
    {1, "Please wait while setup loads...."},
    {3, "Error Code: %04X.%08X"},
    {2, "Internal Error"},
    {4, "Error"},
    {5, "This program does not support the operating system detected."},
    {6, "Warning"},
    {7,
     "Setup cannot find a valid version of this software to upgrade.\n"
     "Please make sure that you are using the correct upgrade version.\n\n"},
    {8,
     "Setup has detected that the application being installed is running.\n"
     "In order for setup to continue, the application being installed cannot be running.  Either "
     "close the application and choose YES to continue, or choose NO to exit setup and run Setup "
     "again later."},
    {9,
     "Setup has detected the following incompatible software: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "It must be uninstalled before continuing.\n"
     "Would you like to uninstall this now?"},
    {10,
     "Setup has detected a previous installation of _OLD_PRODUCT_NAME_.\n\n"
     "To install _PRODUCT_NAME_ _PRODUCT_VERSION_, you must first uninstall\n"
     "the existing version of _OLD_PRODUCT_NAME_.\n"
     "Would you like to uninstall _OLD_PRODUCT_NAME_ now?\n"
     "Choose Yes to uninstall _OLD_PRODUCT_NAME_.\n"
     "Choose No to exit setup."},
    {11,
     "Setup has detected the following incompatible software: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Installation cannot continue.  Please see the README for more information."},
    {12, "This program will not install on Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "You must restart your system for the configuration changes made to _PRODUCT_NAME_ to take "
     "effect. Click Yes to restart now or No if you plan to manually restart later."},
    {0, nullptr},
};

// Spanish (Mexico), code page 1252
static const MessageEntry kSpanishMessages[] = {
    {0, "Instalaci\xF3n"},
    {1, "Espere mientras se carga el programa de instalaci\xF3n..."},
    {3, "C\xF3" "digo de error: %04X.%08X"},
    {2, "Error interno"},
    {4, "Error"},
    {5, "Este programa no es compatible con el sistema operativo detectado."},
    {6, "Aviso"},
    {7,
     "El programa de instalaci\xF3n no encuentra una versi\xF3n v\xE1lida de este software para "
     "actualizar.\n"
     "Aseg\xFArese de que est\xE1 usando la versi\xF3n de actualizaci\xF3n correcta.\n\n"},
    {8,
     "El programa de instalaci\xF3n ha detectado que la aplicaci\xF3n que se est\xE1 instalando "
     "est\xE1 en ejecuci\xF3n.\n"
     "Para que la instalaci\xF3n pueda continuar, la aplicaci\xF3n que se est\xE1 instalando no "
     "debe estar en ejecuci\xF3n.  Cierre la aplicaci\xF3n y elija S\xCD para continuar, o elija "
     "NO para salir del programa de instalaci\xF3n y volver a ejecutarlo m\xE1s tarde."},
    {9,
     "El programa de instalaci\xF3n ha detectado el siguiente software incompatible: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Debe desinstalarse antes de continuar.\n"
     "\xBF" "Desea desinstalarlo ahora?"},
    {10,
     "El programa de instalaci\xF3n ha detectado una instalaci\xF3n anterior de "
     "_OLD_PRODUCT_NAME_.\n\n"
     "Para instalar _PRODUCT_NAME_ _PRODUCT_VERSION_, primero debe desinstalar\n"
     "la versi\xF3n existente de _OLD_PRODUCT_NAME_.\n"
     "\xBF" "Desea desinstalar _OLD_PRODUCT_NAME_ ahora?\n"
     "Elija S\xED para desinstalar _OLD_PRODUCT_NAME_.\n"
     "Elija No para salir del programa de instalaci\xF3n."},
    {11,
     "El programa de instalaci\xF3n ha detectado el siguiente software incompatible: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "La instalaci\xF3n no puede continuar.  Consulte el archivo README para obtener m\xE1s "
     "informaci\xF3n."},
    {12, "Este programa no se puede instalar en Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Debe reiniciar el sistema para que los cambios de configuraci\xF3n realizados en "
     "_PRODUCT_NAME_ surtan efecto. Haga clic en S\xED para reiniciar ahora o en No si piensa "
     "reiniciar manualmente m\xE1s tarde."},
    {0, nullptr},
};

// Finnish, code page 1252
static const MessageEntry kFinnishMessages[] = {
    {0, "Asennus"},
    {1, "Odota. Asennusohjelmaa ladataan...."},
    {3, "Virhekoodi: %04X.%08X"},
    {2, "Sis\xE4inen virhe"},
    {4, "Virhe"},
    {5, "T\xE4m\xE4 ohjelma ei tue havaittua k\xE4ytt\xF6j\xE4rjestelm\xE4\xE4."},
    {6, "Varoitus"},
    {7,
     "Asennusohjelma ei l\xF6yd\xE4 t\xE4m\xE4n ohjelmiston kelvollista versiota "
     "p\xE4ivitett\xE4v\xE4ksi.\n"
     "Varmista, ett\xE4 k\xE4yt\xE4t oikeaa p\xE4ivitysversiota.\n\n"},
    {8,
     "Asennusohjelma on havainnut, ett\xE4 asennettava sovellus on k\xE4ynniss\xE4.\n"
     "Jotta asennusta voidaan jatkaa, asennettava sovellus ei saa olla k\xE4ynniss\xE4.  Sulje "
     "sovellus ja jatka valitsemalla KYLL\xC4, tai lopeta asennusohjelma valitsemalla EI ja "
     "suorita asennus uudelleen my\xF6hemmin."},
    {9,
     "Asennusohjelma on havainnut seuraavan yhteensopimattoman ohjelmiston: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Se on poistettava, ennen kuin asennusta voidaan jatkaa.\n"
     "Haluatko poistaa sen nyt?"},
    {10,
     "Asennusohjelma on havainnut ohjelman _OLD_PRODUCT_NAME_ aiemman asennuksen.\n\n"
     "Jotta voit asentaa ohjelman _PRODUCT_NAME_ _PRODUCT_VERSION_, sinun on ensin poistettava\n"
     "ohjelman _OLD_PRODUCT_NAME_ nykyinen versio.\n"
     "Haluatko poistaa ohjelman _OLD_PRODUCT_NAME_ nyt?\n"
     "Poista _OLD_PRODUCT_NAME_ valitsemalla Kyll\xE4.\n"
     "Lopeta asennusohjelma valitsemalla Ei."},
    {11,
     "Asennusohjelma on havainnut seuraavan yhteensopimattoman ohjelmiston: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Asennusta ei voi jatkaa.  Lis\xE4tietoja on README-tiedostossa."},
    {12,
     "T\xE4t\xE4 ohjelmaa ei voi asentaa Windows NT Server -k\xE4ytt\xF6j\xE4rjestelm\xE4\xE4n."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "J\xE4rjestelm\xE4 on k\xE4ynnistett\xE4v\xE4 uudelleen, jotta ohjelmaan _PRODUCT_NAME_ "
     "tehdyt kokoonpanomuutokset tulevat voimaan. K\xE4ynnist\xE4 uudelleen nyt valitsemalla "
     "Kyll\xE4 tai valitse Ei, jos aiot k\xE4ynnist\xE4\xE4 uudelleen my\xF6hemmin itse."},
    {0, nullptr},
};

// French, code page 1252
static const MessageEntry kFrenchMessages[] = {
    {0, "Installation"},
    {1, "Patientez pendant le chargement du programme d'installation...."},
    {3, "Code d'erreur : %04X.%08X"},
    {2, "Erreur interne"},
    {4, "Erreur"},
    {5, "Ce programme ne prend pas en charge le syst\xE8me d'exploitation d\xE9tect\xE9."},
    {6, "Avertissement"},
    {7,
     "Le programme d'installation ne trouve aucune version valide de ce logiciel \xE0 mettre \xE0 "
     "jour.\n"
     "V\xE9rifiez que vous utilisez la bonne version de mise \xE0 jour.\n\n"},
    {8,
     "Le programme d'installation a d\xE9tect\xE9 que l'application \xE0 installer est en cours "
     "d'ex\xE9" "cution.\n"
     "Pour que l'installation puisse continuer, l'application \xE0 installer ne doit pas \xEAtre "
     "en cours d'ex\xE9" "cution.  Fermez l'application et choisissez OUI pour continuer, ou "
     "choisissez NON pour quitter le programme d'installation et le relancer plus tard."},
    {9,
     "Le programme d'installation a d\xE9tect\xE9 le logiciel incompatible suivant : \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Vous devez le d\xE9sinstaller avant de continuer.\n"
     "Voulez-vous le d\xE9sinstaller maintenant ?"},
    {10,
     "Le programme d'installation a d\xE9tect\xE9 une installation ant\xE9rieure de "
     "_OLD_PRODUCT_NAME_.\n\n"
     "Pour installer _PRODUCT_NAME_ _PRODUCT_VERSION_, vous devez d'abord d\xE9sinstaller\n"
     "la version existante de _OLD_PRODUCT_NAME_.\n"
     "Voulez-vous d\xE9sinstaller _OLD_PRODUCT_NAME_ maintenant ?\n"
     "Choisissez Oui pour d\xE9sinstaller _OLD_PRODUCT_NAME_.\n"
     "Choisissez Non pour quitter le programme d'installation."},
    {11,
     "Le programme d'installation a d\xE9tect\xE9 le logiciel incompatible suivant : \n\n"
     "_PRODUCT_NAME_.\n\n"
     "L'installation ne peut pas continuer.  Pour plus d'informations, consultez le fichier "
     "README."},
    {12, "Ce programme ne peut pas \xEAtre install\xE9 sur Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Vous devez red\xE9marrer le syst\xE8me pour que les modifications de configuration "
     "apport\xE9" "es \xE0 _PRODUCT_NAME_ prennent effet. Cliquez sur Oui pour red\xE9marrer "
     "maintenant ou sur Non si vous pr\xE9voyez de red\xE9marrer manuellement plus tard."},
    {0, nullptr},
};

// Italian, code page 1252
static const MessageEntry kItalianMessages[] = {
    {0, "Installazione"},
    {1, "Attendere. Caricamento del programma di installazione in corso...."},
    {3, "Codice di errore: %04X.%08X"},
    {2, "Errore interno"},
    {4, "Errore"},
    {5, "Questo programma non supporta il sistema operativo rilevato."},
    {6, "Avviso"},
    {7,
     "Il programma di installazione non trova una versione valida di questo software da "
     "aggiornare.\n"
     "Accertarsi di utilizzare la versione di aggiornamento corretta.\n\n"},
    {8,
     "Il programma di installazione ha rilevato che l'applicazione da installare \xE8 in "
     "esecuzione.\n"
     "Per continuare l'installazione, l'applicazione da installare non deve essere in esecuzione.  "
     "Chiudere l'applicazione e scegliere S\xCC per continuare, oppure scegliere NO per uscire dal "
     "programma di installazione ed eseguirlo di nuovo pi\xF9 tardi."},
    {9,
     "Il programma di installazione ha rilevato il seguente software incompatibile: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "\xC8 necessario disinstallarlo prima di continuare.\n"
     "Disinstallarlo ora?"},
    {10,
     "Il programma di installazione ha rilevato un'installazione precedente di "
     "_OLD_PRODUCT_NAME_.\n\n"
     "Per installare _PRODUCT_NAME_ _PRODUCT_VERSION_, \xE8 necessario prima disinstallare\n"
     "la versione esistente di _OLD_PRODUCT_NAME_.\n"
     "Disinstallare _OLD_PRODUCT_NAME_ ora?\n"
     "Scegliere S\xEC per disinstallare _OLD_PRODUCT_NAME_.\n"
     "Scegliere No per uscire dal programma di installazione."},
    {11,
     "Il programma di installazione ha rilevato il seguente software incompatibile: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Impossibile continuare l'installazione.  Per ulteriori informazioni, consultare il file "
     "README."},
    {12, "Questo programma non pu\xF2 essere installato su Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Per rendere effettive le modifiche alla configurazione apportate a _PRODUCT_NAME_ \xE8 "
     "necessario riavviare il sistema. Fare clic su S\xEC per riavviare ora oppure su No se si "
     "intende riavviare manualmente in seguito."},
    {0, nullptr},
};

// Japanese, code page 932
static const MessageEntry kJapaneseMessages[] = {
    {0, "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76"},
    {1,
     "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xCC\x83\x8D\x81\x5B\x83\x68\x92\x86"
     "\x82\xC5\x82\xB7\x81\x42\x82\xA8\x91\xD2\x82\xBF\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42"},
    {3, "\x83\x47\x83\x89\x81\x5B \x83\x52\x81\x5B\x83\x68\x81\x46%04X.%08X"},
    {2, "\x93\xE0\x95\x94\x83\x47\x83\x89\x81\x5B"},
    {4, "\x83\x47\x83\x89\x81\x5B"},
    {5,
     "\x82\xB1\x82\xCC\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x82\xCD\x81\x41\x8C\x9F\x8F\x6F"
     "\x82\xB3\x82\xEA\x82\xBD\x83\x49\x83\x79\x83\x8C\x81\x5B\x83\x65\x83\x42\x83\x93\x83\x4F "
     "\x83\x56\x83\x58\x83\x65\x83\x80\x82\xF0\x83\x54\x83\x7C\x81\x5B\x83\x67\x82\xB5\x82\xC4"
     "\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x42"},
    {6, "\x8C\x78\x8D\x90"},
    {7,
     "\x83\x41\x83\x62\x83\x76\x83\x4F\x83\x8C\x81\x5B\x83\x68\x82\xC5\x82\xAB\x82\xE9\x82\xB1"
     "\x82\xCC\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xCC\x97\x4C\x8C\xF8\x82\xC8"
     "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC"
     "\x82\xB9\x82\xF1\x81\x42\n"
     "\x90\xB3\x82\xB5\x82\xA2\x83\x41\x83\x62\x83\x76\x83\x4F\x83\x8C\x81\x5B\x83\x68 "
     "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x82\xF0\x8E\x67\x97\x70\x82\xB5\x82\xC4\x82\xA2"
     "\x82\xE9\x82\xB1\x82\xC6\x82\xF0\x8A\x6D\x94\x46\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3"
     "\x82\xA2\x81\x42\n\n"},
    {8,
     "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xCD\x81\x41\x83\x43\x83\x93\x83\x58"
     "\x83\x67\x81\x5B\x83\x8B\x82\xB7\x82\xE9\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56"
     "\x83\x87\x83\x93\x82\xAA\x8E\xC0\x8D\x73\x92\x86\x82\xC5\x82\xA0\x82\xE9\x82\xB1\x82\xC6"
     "\x82\xF0\x8C\x9F\x8F\x6F\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n"
     "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xF0\x91\xB1\x8D\x73\x82\xB7\x82\xE9"
     "\x82\xC9\x82\xCD\x81\x41\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xB7\x82\xE9"
     "\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x82\xF0\x8F\x49\x97\xB9"
     "\x82\xB5\x82\xC4\x82\xA8\x82\xAD\x95\x4B\x97\x76\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7"
     "\x81\x42\x83\x41\x83\x76\x83\x8A\x83\x50\x81\x5B\x83\x56\x83\x87\x83\x93\x82\xF0\x8F\x49"
     "\x97\xB9\x82\xB5\x82\xC4 [\x82\xCD\x82\xA2] \x82\xF0\x91\x49\x91\xF0\x82\xB5\x91\xB1\x8D\x73"
     "\x82\xB7\x82\xE9\x82\xA9\x81\x41[\x82\xA2\x82\xA2\x82\xA6] \x82\xF0\x91\x49\x91\xF0\x82\xB5"
     "\x82\xC4\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xF0\x8F\x49\x97\xB9\x82\xB5"
     "\x81\x41\x8C\xE3\x82\xC5\x82\xE0\x82\xA4\x88\xEA\x93\x78\x83\x5A\x83\x62\x83\x67\x83\x41"
     "\x83\x62\x83\x76\x82\xF0\x8E\xC0\x8D\x73\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2"
     "\x81\x42"},
    {9,
     "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xCD\x81\x41\x8E\x9F\x82\xCC\x8C\xDD"
     "\x8A\xB7\x90\xAB\x82\xCC\x82\xC8\x82\xA2\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41"
     "\x82\xF0\x8C\x9F\x8F\x6F\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x46\n\n"
     "_PRODUCT_NAME_\x81\x42\n\n"
     "\x91\xB1\x8D\x73\x82\xB7\x82\xE9\x91\x4F\x82\xC9\x81\x41\x82\xB1\x82\xCC\x83\x5C\x83\x74"
     "\x83\x67\x83\x45\x83\x46\x83\x41\x82\xF0\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67"
     "\x81\x5B\x83\x8B\x82\xB7\x82\xE9\x95\x4B\x97\x76\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7"
     "\x81\x42\n"
     "\x8D\xA1\x82\xB7\x82\xAE\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B"
     "\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48"},
    {10,
     "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xCD\x81\x41\x88\xC8\x91\x4F\x82\xC9"
     "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xB3\x82\xEA\x82\xBD _OLD_PRODUCT_NAME_ "
     "\x82\xF0\x8C\x9F\x8F\x6F\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n\n"
     "_PRODUCT_NAME_ _PRODUCT_VERSION_ \x82\xF0\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B"
     "\x82\xB7\x82\xE9\x82\xC9\x82\xCD\x81\x41\x8D\xC5\x8F\x89\x82\xC9\n"
     "_OLD_PRODUCT_NAME_ \x82\xCC\x8A\xF9\x91\xB6\x82\xCC\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93"
     "\x82\xF0\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xB7\x82\xE9"
     "\x95\x4B\x97\x76\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42\n"
     "\x8D\xA1\x82\xB7\x82\xAE _OLD_PRODUCT_NAME_ \x82\xF0\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58"
     "\x83\x67\x81\x5B\x83\x8B\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48\n"
     "[\x82\xCD\x82\xA2] \x82\xF0\x91\x49\x91\xF0\x82\xB7\x82\xE9\x82\xC6\x81\x41_OLD_PRODUCT_NAME_"
     " \x82\xF0\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xB5\x82\xDC"
     "\x82\xB7\x81\x42\n"
     "[\x82\xA2\x82\xA2\x82\xA6] \x82\xF0\x91\x49\x91\xF0\x82\xB7\x82\xE9\x82\xC6\x81\x41\x83\x5A"
     "\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7"
     "\x81\x42"},
    {11,
     "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xCD\x81\x41\x8E\x9F\x82\xCC\x8C\xDD"
     "\x8A\xB7\x90\xAB\x82\xCC\x82\xC8\x82\xA2\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41"
     "\x82\xF0\x8C\x9F\x8F\x6F\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x46\n\n"
     "_PRODUCT_NAME_\x81\x42\n\n"
     "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xF0\x91\xB1\x8D\x73\x82\xC5\x82\xAB"
     "\x82\xDC\x82\xB9\x82\xF1\x81\x42\x8F\xDA\x8D\xD7\x82\xC9\x82\xC2\x82\xA2\x82\xC4\x82\xCD"
     "\x81\x41README \x82\xF0\x8E\x51\x8F\xC6\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2"
     "\x81\x42"},
    {12,
     "\x82\xB1\x82\xCC\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x82\xCD Windows NT Server "
     "\x82\xC9\x82\xCD\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xC5\x82\xAB\x82\xDC"
     "\x82\xB9\x82\xF1\x81\x42"},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "_PRODUCT_NAME_ \x82\xC9\x91\xCE\x82\xB5\x82\xC4\x8D\x73\x82\xED\x82\xEA\x82\xBD\x8D\x5C"
     "\x90\xAC\x82\xCC\x95\xCF\x8D\x58\x82\xF0\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9\x82\xC9"
     "\x82\xCD\x81\x41\x83\x56\x83\x58\x83\x65\x83\x80\x82\xF0\x8D\xC4\x8B\x4E\x93\xAE\x82\xB7"
     "\x82\xE9\x95\x4B\x97\x76\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42\x8D\xA1\x82\xB7"
     "\x82\xAE\x8D\xC4\x8B\x4E\x93\xAE\x82\xB7\x82\xE9\x8F\xEA\x8D\x87\x82\xCD [\x82\xCD\x82\xA2] "
     "\x82\xF0\x81\x41\x8C\xE3\x82\xC5\x8E\xE8\x93\xAE\x82\xC5\x8D\xC4\x8B\x4E\x93\xAE\x82\xB7"
     "\x82\xE9\x8F\xEA\x8D\x87\x82\xCD [\x82\xA2\x82\xA2\x82\xA6] \x82\xF0\x83\x4E\x83\x8A\x83\x62"
     "\x83\x4E\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42"},
    {0, nullptr},
};

// Korean, code page 949
static const MessageEntry kKoreanMessages[] = {
    {0, "\xBC\xB3\xC4\xA1"},
    {1,
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB \xB7\xCE\xB5\xE5\xC7\xCF\xB4\xC2 "
     "\xB5\xBF\xBE\xC8 \xC0\xE1\xBD\xC3\xB8\xB8 \xB1\xE2\xB4\xD9\xB8\xAE\xBD\xCA\xBD\xC3\xBF\xC0."},
    {3, "\xBF\xC0\xB7\xF9 \xC4\xDA\xB5\xE5: %04X.%08X"},
    {2, "\xB3\xBB\xBA\xCE \xBF\xC0\xB7\xF9"},
    {4, "\xBF\xC0\xB7\xF9"},
    {5,
     "\xC0\xCC \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBA \xB0\xA8\xC1\xF6\xB5\xC8 \xBF\xEE\xBF\xB5 "
     "\xC3\xBC\xC1\xA6\xB8\xA6 \xC1\xF6\xBF\xF8\xC7\xCF\xC1\xF6 \xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9."},
    {6, "\xB0\xE6\xB0\xED"},
    {7,
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xBF\xA1\xBC\xAD "
     "\xBE\xF7\xB1\xD7\xB7\xB9\xC0\xCC\xB5\xE5\xC7\xD2 \xC0\xCC \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE"
     "\xBE\xEE\xC0\xC7 \xC0\xAF\xC8\xBF\xC7\xD1 \xB9\xF6\xC0\xFC\xC0\xBB \xC3\xA3\xC0\xBB \xBC\xF6 "
     "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\n"
     "\xBF\xC3\xB9\xD9\xB8\xA5 \xBE\xF7\xB1\xD7\xB7\xB9\xC0\xCC\xB5\xE5 \xB9\xF6\xC0\xFC\xC0\xBB "
     "\xBB\xE7\xBF\xEB\xC7\xCF\xB0\xED \xC0\xD6\xB4\xC2\xC1\xF6 \xC8\xAE\xC0\xCE\xC7\xCF\xBD\xCA"
     "\xBD\xC3\xBF\xC0.\n\n"},
    {8,
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xBF\xA1\xBC\xAD "
     "\xBC\xB3\xC4\xA1\xC7\xCF\xB7\xC1\xB4\xC2 \xC0\xC0\xBF\xEB \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5"
     "\xC0\xCC \xBD\xC7\xC7\xE0 \xC1\xDF\xC0\xCE \xB0\xCD\xC0\xBB \xB0\xA8\xC1\xF6\xC7\xDF\xBD\xC0"
     "\xB4\xCF\xB4\xD9.\n"
     "\xBC\xB3\xC4\xA1\xB8\xA6 \xB0\xE8\xBC\xD3\xC7\xCF\xB7\xC1\xB8\xE9 "
     "\xBC\xB3\xC4\xA1\xC7\xCF\xB7\xC1\xB4\xC2 \xC0\xC0\xBF\xEB \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5"
     "\xC0\xCC \xBD\xC7\xC7\xE0 \xC1\xDF\xC0\xCC \xBE\xC6\xB4\xCF\xBE\xEE\xBE\xDF "
     "\xC7\xD5\xB4\xCF\xB4\xD9.  \xC0\xC0\xBF\xEB \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB "
     "\xB4\xDD\xB0\xED [\xBF\xB9]\xB8\xA6 \xBC\xB1\xC5\xC3\xC7\xCF\xBF\xA9 "
     "\xB0\xE8\xBC\xD3\xC7\xCF\xB0\xC5\xB3\xAA, [\xBE\xC6\xB4\xCF\xBF\xE4]\xB8\xA6 "
     "\xBC\xB1\xC5\xC3\xC7\xCF\xBF\xA9 \xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB "
     "\xB3\xA1\xB3\xBD \xB4\xD9\xC0\xBD \xB3\xAA\xC1\xDF\xBF\xA1 \xB4\xD9\xBD\xC3 "
     "\xBD\xC7\xC7\xE0\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0."},
    {9,
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xBF\xA1\xBC\xAD \xB4\xD9\xC0\xBD\xB0\xFA "
     "\xB0\xB0\xC0\xBA \xC8\xA3\xC8\xAF\xB5\xC7\xC1\xF6 \xBE\xCA\xB4\xC2 "
     "\xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE\xB8\xA6 \xB0\xA8\xC1\xF6\xC7\xDF\xBD\xC0\xB4\xCF"
     "\xB4\xD9: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "\xB0\xE8\xBC\xD3\xC7\xCF\xB1\xE2 \xC0\xFC\xBF\xA1 \xC0\xCC \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE"
     "\xBE\xEE\xB8\xA6 \xC1\xA6\xB0\xC5\xC7\xD8\xBE\xDF \xC7\xD5\xB4\xCF\xB4\xD9.\n"
     "\xC1\xF6\xB1\xDD \xC1\xA6\xB0\xC5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?"},
    {10,
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xBF\xA1\xBC\xAD \xC0\xCC\xC0\xFC\xBF\xA1 "
     "\xBC\xB3\xC4\xA1\xB5\xC8 _OLD_PRODUCT_NAME_\xC0\xBB(\xB8\xA6) "
     "\xB0\xA8\xC1\xF6\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.\n\n"
     "_PRODUCT_NAME_ _PRODUCT_VERSION_\xC0\xBB(\xB8\xA6) \xBC\xB3\xC4\xA1\xC7\xCF\xB7\xC1\xB8\xE9 "
     "\xB8\xD5\xC0\xFA\n"
     "_OLD_PRODUCT_NAME_\xC0\xC7 \xB1\xE2\xC1\xB8 \xB9\xF6\xC0\xFC\xC0\xBB "
     "\xC1\xA6\xB0\xC5\xC7\xD8\xBE\xDF \xC7\xD5\xB4\xCF\xB4\xD9.\n"
     "\xC1\xF6\xB1\xDD _OLD_PRODUCT_NAME_\xC0\xBB(\xB8\xA6) \xC1\xA6\xB0\xC5\xC7\xCF\xBD\xC3"
     "\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?\n"
     "_OLD_PRODUCT_NAME_\xC0\xBB(\xB8\xA6) \xC1\xA6\xB0\xC5\xC7\xCF\xB7\xC1\xB8\xE9 "
     "[\xBF\xB9]\xB8\xA6 \xBC\xB1\xC5\xC3\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0.\n"
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB \xB3\xA1\xB3\xBB\xB7\xC1\xB8\xE9 "
     "[\xBE\xC6\xB4\xCF\xBF\xE4]\xB8\xA6 \xBC\xB1\xC5\xC3\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0."},
    {11,
     "\xBC\xB3\xC4\xA1 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xBF\xA1\xBC\xAD \xB4\xD9\xC0\xBD\xB0\xFA "
     "\xB0\xB0\xC0\xBA \xC8\xA3\xC8\xAF\xB5\xC7\xC1\xF6 \xBE\xCA\xB4\xC2 "
     "\xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE\xBE\xEE\xB8\xA6 \xB0\xA8\xC1\xF6\xC7\xDF\xBD\xC0\xB4\xCF"
     "\xB4\xD9: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "\xBC\xB3\xC4\xA1\xB8\xA6 \xB0\xE8\xBC\xD3\xC7\xD2 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9. "
     " \xC0\xDA\xBC\xBC\xC7\xD1 \xB3\xBB\xBF\xEB\xC0\xBA README \xC6\xC4\xC0\xCF\xC0\xBB "
     "\xC2\xFC\xC1\xB6\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0."},
    {12,
     "\xC0\xCC \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBA Windows NT Server\xBF\xA1 "
     "\xBC\xB3\xC4\xA1\xC7\xD2 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "_PRODUCT_NAME_\xBF\xA1 \xB4\xEB\xC7\xD1 \xB1\xB8\xBC\xBA \xBA\xAF\xB0\xE6 "
     "\xB3\xBB\xBF\xEB\xC0\xBB \xC0\xFB\xBF\xEB\xC7\xCF\xB7\xC1\xB8\xE9 "
     "\xBD\xC3\xBD\xBA\xC5\xDB\xC0\xBB \xB4\xD9\xBD\xC3 \xBD\xC3\xC0\xDB\xC7\xD8\xBE\xDF "
     "\xC7\xD5\xB4\xCF\xB4\xD9. \xC1\xF6\xB1\xDD \xB4\xD9\xBD\xC3 \xBD\xC3\xC0\xDB\xC7\xCF\xB7\xC1"
     "\xB8\xE9 [\xBF\xB9]\xB8\xA6 \xC5\xAC\xB8\xAF\xC7\xCF\xB0\xED, \xB3\xAA\xC1\xDF\xBF\xA1 "
     "\xBC\xF6\xB5\xBF\xC0\xB8\xB7\xCE \xB4\xD9\xBD\xC3 \xBD\xC3\xC0\xDB\xC7\xCF\xB7\xC1\xB8\xE9 "
     "[\xBE\xC6\xB4\xCF\xBF\xE4]\xB8\xA6 \xC5\xAC\xB8\xAF\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0."},
    {0, nullptr},
};

// Dutch, code page 1252
static const MessageEntry kDutchMessages[] = {
    {0, "Setup"},
    {1, "Een ogenblijk geduld. Setup wordt geladen...."},
    {3, "Foutcode: %04X.%08X"},
    {2, "Interne fout"},
    {4, "Fout"},
    {5, "Dit programma ondersteunt het gedetecteerde besturingssysteem niet."},
    {6, "Waarschuwing"},
    {7,
     "Setup kan geen geldige versie van deze software vinden om bij te werken.\n"
     "Controleer of u de juiste upgradeversie gebruikt.\n\n"},
    {8,
     "Setup heeft vastgesteld dat de toepassing die wordt ge\xEFnstalleerd, actief is.\n"
     "Setup kan alleen doorgaan als de toepassing die wordt ge\xEFnstalleerd, niet actief is.  "
     "Sluit de toepassing en kies JA om door te gaan, of kies NEE om Setup af te sluiten en Setup "
     "later opnieuw uit te voeren."},
    {9,
     "Setup heeft de volgende niet-compatibele software gevonden: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Deze software moet worden verwijderd voordat u kunt doorgaan.\n"
     "Wilt u deze software nu verwijderen?"},
    {10,
     "Setup heeft een eerdere installatie van _OLD_PRODUCT_NAME_ gevonden.\n\n"
     "Als u _PRODUCT_NAME_ _PRODUCT_VERSION_ wilt installeren, moet u eerst\n"
     "de bestaande versie van _OLD_PRODUCT_NAME_ verwijderen.\n"
     "Wilt u _OLD_PRODUCT_NAME_ nu verwijderen?\n"
     "Kies Ja om _OLD_PRODUCT_NAME_ te verwijderen.\n"
     "Kies Nee om Setup af te sluiten."},
    {11,
     "Setup heeft de volgende niet-compatibele software gevonden: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "De installatie kan niet worden voortgezet.  Raadpleeg het bestand README voor meer "
     "informatie."},
    {12, "Dit programma kan niet worden ge\xEFnstalleerd op Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "U moet het systeem opnieuw opstarten om de configuratiewijzigingen in _PRODUCT_NAME_ van "
     "kracht te laten worden. Klik op Ja om nu opnieuw op te starten of op Nee als u het systeem "
     "later handmatig opnieuw wilt opstarten."},
    {0, nullptr},
};

// Norwegian (Bokmal), code page 1252
static const MessageEntry kNorwegianMessages[] = {
    {0, "Installeringsprogram"},
    {1, "Vennligst vent mens installeringsprogrammet lastes inn...."},
    {3, "Feilkode: %04X.%08X"},
    {2, "Intern feil"},
    {4, "Feil"},
    {5, "Dette programmet st\xF8tter ikke operativsystemet som ble funnet."},
    {6, "Advarsel"},
    {7,
     "Installeringsprogrammet finner ingen gyldig versjon av denne programvaren som kan "
     "oppgraderes.\n"
     "Kontroller at du bruker riktig oppgraderingsversjon.\n\n"},
    {8,
     "Installeringsprogrammet har oppdaget at programmet som installeres, kj\xF8rer.\n"
     "Installeringen kan bare fortsette hvis programmet som installeres, ikke kj\xF8rer.  Lukk "
     "programmet og velg JA for \xE5 fortsette, eller velg NEI for \xE5 avslutte "
     "installeringsprogrammet og kj\xF8re det p\xE5 nytt senere."},
    {9,
     "Installeringsprogrammet har oppdaget f\xF8lgende inkompatible programvare: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Den m\xE5 avinstalleres f\xF8r installeringen kan fortsette.\n"
     "Vil du avinstallere den n\xE5?"},
    {10,
     "Installeringsprogrammet har oppdaget en tidligere installasjon av _OLD_PRODUCT_NAME_.\n\n"
     "F\xF8r du kan installere _PRODUCT_NAME_ _PRODUCT_VERSION_, m\xE5 du avinstallere\n"
     "den eksisterende versjonen av _OLD_PRODUCT_NAME_.\n"
     "Vil du avinstallere _OLD_PRODUCT_NAME_ n\xE5?\n"
     "Velg Ja for \xE5 avinstallere _OLD_PRODUCT_NAME_.\n"
     "Velg Nei for \xE5 avslutte installeringsprogrammet."},
    {11,
     "Installeringsprogrammet har oppdaget f\xF8lgende inkompatible programvare: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Installeringen kan ikke fortsette.  Se README-filen for mer informasjon."},
    {12, "Dette programmet kan ikke installeres p\xE5 Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Du m\xE5 starte systemet p\xE5 nytt for at konfigurasjonsendringene for _PRODUCT_NAME_ skal "
     "tre i kraft. Klikk Ja for \xE5 starte p\xE5 nytt n\xE5, eller Nei hvis du vil starte p\xE5 "
     "nytt manuelt senere."},
    {0, nullptr},
};

// Portuguese (Brazil), code page 1252
static const MessageEntry kPortugueseMessages[] = {
    {0, "Programa de instala\xE7\xE3o"},
    {1, "Aguarde enquanto o programa de instala\xE7\xE3o \xE9 carregado...."},
    {3, "C\xF3" "digo de erro: %04X.%08X"},
    {2, "Erro interno"},
    {4, "Erro"},
    {5, "Este programa n\xE3o oferece suporte ao sistema operacional detectado."},
    {6, "Aviso"},
    {7,
     "O programa de instala\xE7\xE3o n\xE3o encontrou uma vers\xE3o v\xE1lida deste software para "
     "atualizar.\n"
     "Verifique se voc\xEA est\xE1 usando a vers\xE3o de atualiza\xE7\xE3o correta.\n\n"},
    {8,
     "O programa de instala\xE7\xE3o detectou que o aplicativo que est\xE1 sendo instalado est\xE1 "
     "em execu\xE7\xE3o.\n"
     "Para que a instala\xE7\xE3o continue, o aplicativo que est\xE1 sendo instalado n\xE3o pode "
     "estar em execu\xE7\xE3o.  Feche o aplicativo e escolha SIM para continuar ou escolha N\xC3O "
     "para sair da instala\xE7\xE3o e execut\xE1-la novamente mais tarde."},
    {9,
     "O programa de instala\xE7\xE3o detectou o seguinte software incompat\xEDvel: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Ele deve ser desinstalado antes de continuar.\n"
     "Deseja desinstal\xE1-lo agora?"},
    {10,
     "O programa de instala\xE7\xE3o detectou uma instala\xE7\xE3o anterior de "
     "_OLD_PRODUCT_NAME_.\n\n"
     "Para instalar _PRODUCT_NAME_ _PRODUCT_VERSION_, voc\xEA deve primeiro desinstalar\n"
     "a vers\xE3o existente de _OLD_PRODUCT_NAME_.\n"
     "Deseja desinstalar _OLD_PRODUCT_NAME_ agora?\n"
     "Escolha Sim para desinstalar _OLD_PRODUCT_NAME_.\n"
     "Escolha N\xE3o para sair da instala\xE7\xE3o."},
    {11,
     "O programa de instala\xE7\xE3o detectou o seguinte software incompat\xEDvel: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "A instala\xE7\xE3o n\xE3o pode continuar.  Consulte o arquivo README para obter mais "
     "informa\xE7\xF5" "es."},
    {12, "Este programa n\xE3o pode ser instalado no Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "\xC9 necess\xE1rio reiniciar o sistema para que as altera\xE7\xF5" "es de configura\xE7\xE3o "
     "feitas em _PRODUCT_NAME_ entrem em vigor. Clique em Sim para reiniciar agora ou em N\xE3o se "
     "voc\xEA planeja reiniciar manualmente mais tarde."},
    {0, nullptr},
};

// Swedish, code page 1252
static const MessageEntry kSwedishMessages[] = {
    {0, "Installation"},
    {1, "V\xE4nta medan installationsprogrammet l\xE4ses in...."},
    {3, "Felkod: %04X.%08X"},
    {2, "Internt fel"},
    {4, "Fel"},
    {5, "Det h\xE4r programmet st\xF6" "der inte det operativsystem som identifierades."},
    {6, "Varning"},
    {7,
     "Installationsprogrammet hittar ingen giltig version av den h\xE4r programvaran att "
     "uppgradera.\n"
     "Kontrollera att du anv\xE4nder r\xE4tt uppgraderingsversion.\n\n"},
    {8,
     "Installationsprogrammet har uppt\xE4" "ckt att programmet som installeras k\xF6rs.\n"
     "F\xF6r att installationen ska kunna forts\xE4tta f\xE5r programmet som installeras inte "
     "k\xF6ras.  St\xE4ng antingen programmet och v\xE4lj JA f\xF6r att forts\xE4tta, eller "
     "v\xE4lj NEJ f\xF6r att avsluta installationsprogrammet och k\xF6ra det igen senare."},
    {9,
     "Installationsprogrammet har uppt\xE4" "ckt f\xF6ljande inkompatibla programvara: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Den m\xE5ste avinstalleras innan installationen kan forts\xE4tta.\n"
     "Vill du avinstallera den nu?"},
    {10,
     "Installationsprogrammet har uppt\xE4" "ckt en tidigare installation av "
     "_OLD_PRODUCT_NAME_.\n\n"
     "Om du vill installera _PRODUCT_NAME_ _PRODUCT_VERSION_ m\xE5ste du f\xF6rst avinstallera\n"
     "den befintliga versionen av _OLD_PRODUCT_NAME_.\n"
     "Vill du avinstallera _OLD_PRODUCT_NAME_ nu?\n"
     "V\xE4lj Ja om du vill avinstallera _OLD_PRODUCT_NAME_.\n"
     "V\xE4lj Nej om du vill avsluta installationsprogrammet."},
    {11,
     "Installationsprogrammet har uppt\xE4" "ckt f\xF6ljande inkompatibla programvara: \n\n"
     "_PRODUCT_NAME_.\n\n"
     "Installationen kan inte forts\xE4tta.  Mer information finns i filen README."},
    {12, "Det h\xE4r programmet kan inte installeras p\xE5 Windows NT Server."},
    {13,
     "Setup requires at least version %s of the Windows Installer to run.\n"
     "You will first need to download and install the Windows Installer from www.microsoft.com."},
    {14,
     "Du m\xE5ste starta om systemet f\xF6r att konfigurations\xE4ndringarna i _PRODUCT_NAME_ ska "
     "b\xF6rja g\xE4lla. Klicka p\xE5 Ja om du vill starta om nu eller p\xE5 Nej om du t\xE4nker "
     "starta om manuellt senare."},
    {0, nullptr},
};

// Order matters: the primary-language pass takes the first row that matches.
const LanguageRow LanguageTable[] = {
    {0x0804, 936, kChinesePrcMessages},
    {0x0404, 950, kChineseTaiwanMessages},
    {0x0406, 1252, kDanishMessages},
    {0x0407, 1252, kGermanMessages},
    {0x0409, 1252, kEnglishMessages},
    {0x080A, 1252, kSpanishMessages},
    {0x040B, 1252, kFinnishMessages},
    {0x040C, 1252, kFrenchMessages},
    {0x0410, 1252, kItalianMessages},
    {0x0411, 932, kJapaneseMessages},
    {0x0412, 949, kKoreanMessages},
    {0x0413, 1252, kDutchMessages},
    {0x0414, 1252, kNorwegianMessages},
    {0x0416, 1252, kPortugueseMessages},
    {0x041D, 1252, kSwedishMessages},
    {0, 0, nullptr},
};
