#include "board/BoardTables.hpp"

// The board's vocabulary in one place: the German board, the one the game shows without a
// deck. The texts are UTF-8, as decks are.

std::array<FieldText, fieldCount> initializeFieldTexts() {
    // clang-format off
    static const char* const tasks[fieldCount] = {
        "START", // 0
        "2 Schlücke", // 1
        "Haustier?\nTrinken!", // 2
        "Du darfst 5\nSchlücke\nverteilen", // 3
        "Safe Zone", // 4
        "Trink aus dem\nGlas links von dir", // 5
        "-1 Kleidungsstück", // 6
        "Regel", // 7
        "Trinke 10\nSchlücke", // 8
        "Fuck,\nMarry,\nKill", // 9
        "Drei Schritte\nvor", // 10
        "Leiter hoch\nauf Feld 48!", // 11
        "4 Schlücke\nfür jeden", // 12
        "Teleportation A", // 13
        "Drei Schritte\nzurück", // 14
        "Imitiere ein\nTier", // 15
        "Tanze für 30\nSekunden", // 16
        "Wahrheit oder\nPflicht", // 17
        "Trink Buddy", // 18
        "Zurück zum\nStart", // 19
        "Alle Spieler\nohne Bart\ntrinken", // 20
        "Dirty Talk\nmit links", // 21
        "Wasserfall", // 22
        "Anstarr\nWettbewerb", // 23
        "Frauen dürfen\n3 Schlücke\nverteilen", // 24
        "-1 Kleidungsstück", // 25
        "Männer müssen\ntrinken", // 26
        "Handstandoder Exen", // 27
        "Mischshot\trinken", // 28
        "Ich packemeinen Koffer\nund nehme\nmit...", // 29
        "Tausche dein\nGlas mit Rechts", // 30
        "Selfie\nTime", // 31
        "Ein Kleidungsstück\nmit links tauschen", // 32
        "Erkläre jemandem\ndeine Liebe", // 33
        "Der betrunkenste\ntrinkt", // 34
        "1 Runde Pantomime", // 35
        "Der coolste\nverteilt\n3 Schlücke", // 36
        "Teleportation A", // 37
        "Busfahren!", // 38
        "Der nüchternste\nverteilt 5 Schlücke", // 39
        "-1 Kleidungsstück", // 40
        "Ein Schluck\nfür jeden, der\nälter als du ist", // 41
        "2 Schlücke für\ndie Girls", // 42
        "2 Schlücke für\ndie Boys", // 43
        "Wie gehts dir\ngerade wirklich?", // 44
        "Die schlauste\ntrinkt", // 45
        "Trinke einen\nSchluck aus\njedem Glas", // 46
        "1 Shot wenn\ndu stinkst", // 47
        "Leiter runter\nauf Feld 11!", // 48
        "Beleidige\njemanden", // 49
        "EX", // 50
        "Erzähle von deiner\nersten Erfahrung\nmit dem anderen\nGeschlecht!", // 51
        "Safe Zone", // 52
        "Beantworte 1 Minute\njede Frage, die\ndir gestellt wird", // 53
        "Eine Runde stehen", // 54
        "Ich hab noch nie!", // 55
        "Würfel eine 5\noder höher\num die Zunge\nherauf zu klettern", // 56
        "Gesteh dem\nersten Jungen in\ndeiner Kontaktliste\ndeine Liebe", // 57
        "Trink Buddy", // 58
        "Telefon Prank", // 59
        "Wähle einen\nBodyguard", // 60
        "Der mit dem\nschlechtesten\nAbschluss\nmuss trinken", // 61
        "Wenn du dich\nlänger als eine\nWoche nicht rasiert\nhast, musst du trinken", // 62
        "1 Schluck für\njeden Buchstaben\ndeines Namens", // 63
        "Armdrücken mit\nlinks, Verlierer\n1 Shot", // 64
        "Wer ist die\neitelste?\n2 Schlücke", // 65
        "2 Runden\naussetzen!", // 66
        "Shot\nRoulette", // 67
        "Leiter hoch\nauf Feld 93!", // 68
        "Wahrheit\n   oder\n Pflicht", // 69
        "Regel", // 70
        "Ertrinken oder\nverbrennen?", // 71
        "Nicht lachen!\n3 Schlücke", // 72
        "Trinke ein\nGlas Wasser", // 73
        "Blondhaarige\ntrinken", // 74
        "Die TARDIS\nteleportiert dich\nauf Feld 98!", // 75
        "Braunhaarige\ntrinken", // 76
        "Verteile so viele\nSchlücke wie du\nBeziehungen hattest", // 77
        "Rothaarige trinken", // 78
        "Plätze tauschen\nmit links", // 79
        "Zählt Schuhmarken\nauf! 3 Schlücke", // 80
        "Kellner!", // 81
        "Schere, Stein,\nPapier mit einem\nbeliebigen Spieler!", // 82
        "Die schönste\ntrinkt", // 83
        "Würfel eine 4\noder höher, um\ndie Zunge weiter\nhinauf zu Klettern", // 84
        "Alle die Luft\nanhalten. Gewinner\nverteilt 5", // 85
        "-1 Kleidungsstück", // 86
        "EX", // 87
        "Regel", // 88
        "Singles trinken\n2 Schlücke", // 89
        "Alle in einer\nBeziehung trinken\n3 Schlücke", // 90
        "Oute deine\nInsecurity", // 91
        "Küsse die erste\nPerson, die dir\nin die Augen schaut", // 92
        "Leiter runter\nauf Feld 68!", // 93
        "Wenn du diese\nWoche geweint\nhast, trinke\n4 Schlücke", // 94
        "  5 Schlücke    oder\n5 Liegestützen", // 95
        "Fuck,\nMarry,\nKill", // 96
        "2 Shots,\nwenn du\ngeschminkt bist", // 97
        "Die TARDIS\nTeleportiert dich\nauf Feld 75", // 98
        "Erzähl etwas,\nwas keiner\nüber dich weiß", // 99
        "Wer würde eher", // 100
        "Verteile deine\nSchlücke für jeden\nWissenschaftler,\nden du aufzählen\nkannst", // 101
        "Safe Zone", // 102
        "Deine Würfelzahl\nverdoppelt sich", // 103
        "Würfel eine 3\noder niedriger,\nsonst rutschst\ndu runter", // 104
        "Trink 5 Schlücke", // 105
        "Gehe einen\nSchritt zurück", // 106
        "EX", // 107
        "Imitiere einen\nMitspieler", // 108
        "     Gehe\n2 Schritte vor", // 109
        "Spiele Schere,\nStein, Papier mit\nrechts. Wenn du\nverlierst, musst\ndu deine Figur\nmit ihm tauschen", // 110
        "Lass dir von\nallen etwas auf\nden Körper zeichnen", // 111
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
