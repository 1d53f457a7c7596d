#include "board/BoardTables.hpp"

// The board's vocabulary in one place. The texts are Windows-1252 bytes: the four letters
// outside ASCII are written as escapes, each closing its literal, since "\xFCcke" would read
// as one escape.

std::array<FieldText, fieldCount> initializeFieldTexts() {
    // clang-format off
    static const char* const tasks[fieldCount] = {
        "START", // 0
        "2 Schl\xFC" "cke", // 1
        "Haustier?\nTrinken!", // 2
        "Du darfst 5\nSchl\xFC" "cke\nverteilen", // 3
        "Safe Zone", // 4
        "Trink aus dem\nGlas links von dir", // 5
        "-1 Kleidungsst\xFC" "ck", // 6
        "Regel", // 7
        "Trinke 10\nSchl\xFC" "cke", // 8
        "Fuck,\nMarry,\nKill", // 9
        "Drei Schritte\nvor", // 10
        "Leiter hoch\nauf Feld 48!", // 11
        "4 Schl\xFC" "cke\nf\xFC" "r jeden", // 12
        "Teleportation A", // 13
        "Drei Schritte\nzur\xFC" "ck", // 14
        "Imitiere ein\nTier", // 15
        "Tanze f\xFC" "r 30\nSekunden", // 16
        "Wahrheit oder\nPflicht", // 17
        "Trink Buddy", // 18
        "Zur\xFC" "ck zum\nStart", // 19
        "Alle Spieler\nohne Bart\ntrinken", // 20
        "Dirty Talk\nmit links", // 21
        "Wasserfall", // 22
        "Anstarr\nWettbewerb", // 23
        "Frauen d\xFC" "rfen\n3 Schl\xFC" "cke\nverteilen", // 24
        "-1 Kleidungsst\xFC" "ck", // 25
        "M\xE4" "nner m\xFC" "ssen\ntrinken", // 26
        "Handstandoder Exen", // 27
        "Mischshot\trinken", // 28
        "Ich packemeinen Koffer\nund nehme\nmit...", // 29
        "Tausche dein\nGlas mit Rechts", // 30
        "Selfie\nTime", // 31
        "Ein Kleidungsst\xFC" "ck\nmit links tauschen", // 32
        "Erkl\xE4" "re jemandem\ndeine Liebe", // 33
        "Der betrunkenste\ntrinkt", // 34
        "1 Runde Pantomime", // 35
        "Der coolste\nverteilt\n3 Schl\xFC" "cke", // 36
        "Teleportation A", // 37
        "Busfahren!", // 38
        "Der n\xFC" "chternste\nverteilt 5 Schl\xFC" "cke", // 39
        "-1 Kleidungsst\xFC" "ck", // 40
        "Ein Schluck\nf\xFC" "r jeden, der\n\xE4" "lter als du ist", // 41
        "2 Schl\xFC" "cke f\xFC" "r\ndie Girls", // 42
        "2 Schl\xFC" "cke f\xFC" "r\ndie Boys", // 43
        "Wie gehts dir\ngerade wirklich?", // 44
        "Die schlauste\ntrinkt", // 45
        "Trinke einen\nSchluck aus\njedem Glas", // 46
        "1 Shot wenn\ndu stinkst", // 47
        "Leiter runter\nauf Feld 11!", // 48
        "Beleidige\njemanden", // 49
        "EX", // 50
        "Erz\xE4" "hle von deiner\nersten Erfahrung\nmit dem anderen\nGeschlecht!", // 51
        "Safe Zone", // 52
        "Beantworte 1 Minute\njede Frage, die\ndir gestellt wird", // 53
        "Eine Runde stehen", // 54
        "Ich hab noch nie!", // 55
        "W\xFC" "rfel eine 5\noder h\xF6" "her\num die Zunge\nherauf zu klettern", // 56
        "Gesteh dem\nersten Jungen in\ndeiner Kontaktliste\ndeine Liebe", // 57
        "Trink Buddy", // 58
        "Telefon Prank", // 59
        "W\xE4" "hle einen\nBodyguard", // 60
        "Der mit dem\nschlechtesten\nAbschluss\nmuss trinken", // 61
        "Wenn du dich\nl\xE4" "nger als eine\nWoche nicht rasiert\nhast, musst du trinken", // 62
        "1 Schluck f\xFC" "r\njeden Buchstaben\ndeines Namens", // 63
        "Armdr\xFC" "cken mit\nlinks, Verlierer\n1 Shot", // 64
        "Wer ist die\neitelste?\n2 Schl\xFC" "cke", // 65
        "2 Runden\naussetzen!", // 66
        "Shot\nRoulette", // 67
        "Leiter hoch\nauf Feld 93!", // 68
        "Wahrheit\n   oder\n Pflicht", // 69
        "Regel", // 70
        "Ertrinken oder\nverbrennen?", // 71
        "Nicht lachen!\n3 Schl\xFC" "cke", // 72
        "Trinke ein\nGlas Wasser", // 73
        "Blondhaarige\ntrinken", // 74
        "Die TARDIS\nteleportiert dich\nauf Feld 98!", // 75
        "Braunhaarige\ntrinken", // 76
        "Verteile so viele\nSchl\xFC" "cke wie du\nBeziehungen hattest", // 77
        "Rothaarige trinken", // 78
        "Pl\xE4" "tze tauschen\nmit links", // 79
        "Z\xE4" "hlt Schuhmarken\nauf! 3 Schl\xFC" "cke", // 80
        "Kellner!", // 81
        "Schere, Stein,\nPapier mit einem\nbeliebigen Spieler!", // 82
        "Die sch\xF6" "nste\ntrinkt", // 83
        "W\xFC" "rfel eine 4\noder h\xF6" "her, um\ndie Zunge weiter\nhinauf zu Klettern", // 84
        "Alle die Luft\nanhalten. Gewinner\nverteilt 5", // 85
        "-1 Kleidungsst\xFC" "ck", // 86
        "EX", // 87
        "Regel", // 88
        "Singles trinken\n2 Schl\xFC" "cke", // 89
        "Alle in einer\nBeziehung trinken\n3 Schl\xFC" "cke", // 90
        "Oute deine\nInsecurity", // 91
        "K\xFC" "sse die erste\nPerson, die dir\nin die Augen schaut", // 92
        "Leiter runter\nauf Feld 68!", // 93
        "Wenn du diese\nWoche geweint\nhast, trinke\n4 Schl\xFC" "cke", // 94
        "  5 Schl\xFC" "cke    oder\n5 Liegest\xFC" "tzen", // 95
        "Fuck,\nMarry,\nKill", // 96
        "2 Shots,\nwenn du\ngeschminkt bist", // 97
        "Die TARDIS\nTeleportiert dich\nauf Feld 75", // 98
        "Erz\xE4" "hl etwas,\nwas keiner\n\xFC" "ber dich wei\xDF" "", // 99
        "Wer w\xFC" "rde eher", // 100
        "Verteile deine\nSchl\xFC" "cke f\xFC" "r jeden\nWissenschaftler,\nden du aufz\xE4" "hlen\nkannst", // 101
        "Safe Zone", // 102
        "Deine W\xFC" "rfelzahl\nverdoppelt sich", // 103
        "W\xFC" "rfel eine 3\noder niedriger,\nsonst rutschst\ndu runter", // 104
        "Trink 5 Schl\xFC" "cke", // 105
        "Gehe einen\nSchritt zur\xFC" "ck", // 106
        "EX", // 107
        "Imitiere einen\nMitspieler", // 108
        "     Gehe\n2 Schritte vor", // 109
        "Spiele Schere,\nStein, Papier mit\nrechts. Wenn du\nverlierst, musst\ndu deine Figur\nmit ihm tauschen", // 110
        "Lass dir von\nallen etwas auf\nden K\xF6" "rper zeichnen", // 111
        "ZIEL", // 112
    };
    // clang-format on

    std::array<FieldText, fieldCount> table;
    for (int field = 0; field < fieldCount; ++field) {
        table[field].text = tasks[field];
        table[field].characterSize = field == startField  ? startLabelSize
                                     : field == goalField ? goalLabelSize
                                                          : taskLabelSize;
    }
    return table;
}

std::array<Jump, jumpCount> initializeJumps() {
    return {{
        {10, 13},   // three steps forward
        {11, 48},   // ladder up
        {13, 37},   // teleport
        {14, 11},   // three steps back
        {19, 0},    // back to the start
        {37, 13},   // teleport
        {48, 11},   // ladder down
        {68, 93},   // ladder up
        {75, 98},   // teleport
        {93, 68},   // ladder down
        {98, 75},   // teleport
        {106, 105}, // one step back
        {109, 111}, // two steps forward
    }};
}
