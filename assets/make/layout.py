"""Where the controls sit on each window picture. The pictures keep these
areas free of see-through pixels, LAYOUT.md lists them, and the self-check
holds the pictures to them. Kept apart from the drawing so that the table can
later come from the program's own window tables."""

# Every control that sits on a picture, in window pixels:
# (name, x, y, w, h, note). Labels give the box their text needs.
LAYOUT = {
    "fundo_main": [
        ("iHide", 384, 13, 22, 22, "click area over the hide symbol"),
        ("bNovo", 57, 92, 157, 31, '"Incluir um novo lembrete"'),
        ("bLista", 230, 92, 157, 31, '"Ler / Aterar Lembretes"'),
        ("bDoBackup", 57, 136, 157, 31, '"Gravar Backup"'),
        ("bRestoreBackup", 230, 136, 157, 31, '"Restaurar Backup"'),
        ("bConfig", 57, 180, 157, 31, '"Configurações"'),
        ("bFecha", 230, 180, 157, 31, '"Encerrar o Programa"'),
        ("bHide", 294, 222, 93, 19, '"Ocultar Janela", right-aligned under the right column'),
    ],
    "fundo_list": [
        ("iHide", 384, 13, 22, 22, "click area over the close symbol"),
        ("Label1", 44, 58, 160, 16, '"Mostrar lembretes entre:", 13 px font'),
        ("eInicio", 44, 78, 88, 21, "start date field"),
        ("Label2", 137, 80, 10, 16, '"e", 13 px font'),
        ("eFim", 150, 78, 88, 21, "end date field"),
        ("bListar", 253, 79, 151, 20, '"Mostrar Lembretes"'),
        ("gridLembretes", 44, 108, 199, 99, "grid"),
        ("mTexto", 253, 108, 151, 99, "text of the selected reminder"),
        ("bPrintList", 44, 218, 98, 23, '"Imprimir Lista"'),
        ("bAlter", 150, 218, 82, 23, '"Alterar"'),
        ("bDel", 236, 218, 82, 23, '"Excluir"'),
        ("bCancel", 322, 218, 82, 23, '"Voltar"'),
    ],
    "fundo_config": [
        ("iHide", 384, 13, 22, 22, "click area over the close symbol"),
        ("Label1", 44, 58, 68, 14, '"Cor do Texto"'),
        ("csFront", 44, 74, 62, 21, "text colour selector"),
        ("Label2", 116, 58, 68, 14, '"Cor do Fundo"'),
        ("csBack", 116, 74, 62, 21, "background colour selector"),
        ("mExemplo", 44, 103, 134, 80, "sample text"),
        ("Label3", 204, 58, 80, 14, '"Som do Alarme"'),
        ("lbWave", 204, 74, 198, 81, "sound list"),
        ("bOuvir", 328, 162, 74, 21, '"Testar", right-aligned under the list'),
        ("cbInfo", 44, 197, 13, 15, "check box"),
        ("lbInfo", 61, 197, 290, 15,
         '"Exibir informações adicionais na janela de lembretes", click exception'),
        ("bOK", 205, 228, 93, 28, '"OK"'),
        ("bCancel", 309, 228, 93, 28, '"Cancelar"'),
    ],
    "fundo_lembrete": [
        ("Label1", 32, 50, 40, 13, '"Data"'),
        ("Label2", 121, 50, 37, 13, '"Hora"'),
        ("Label3", 160, 50, 60, 13, '"Repetição"'),
        ("eData", 32, 63, 88, 21, "date field"),
        ("eHora", 121, 63, 37, 21, "time field"),
        ("cbRepeat", 160, 63, 82, 21, "repetition list"),
        ("pLembrete", 32, 86, 212, 92, "panel holding the memo"),
        ("bOK", 31, 181, 88, 21, '"OK"'),
        ("bAlternate", 129, 181, 88, 21, '"Cancelar" / "Excluir"'),
        ("bOK (alerta)", 31, 181, 60, 21, '"OK", three across in alert mode'),
        ("bAlternate (alerta)", 96, 181, 60, 21, '"Excluir", three across in alert mode'),
        ("bAdiar", 161, 181, 60, 21, '"Adiar", alert mode only; opens the snooze menu'),
        ("iExpand", 226, 180, 24, 26, "click area over the turned-up corner"),
        ("scroll", 12, 211, 236, 54, "events area (white scroll box)"),
    ],
}

# Controls whose rectangle may contain see-through pixels by design.
MAY_OVERLAP_HOLES = {"iExpand"}

# The pin-holes of the main picture: single see-through pixels in free spots.
PINHOLES = [
    # clusters where the pad was pinned up more than once: near each corner
    # and at the top centre, clear of the title and the controls
    (46, 10), (50, 13), (44, 15),
    (298, 18), (303, 21), (299, 25),
    (392, 44), (397, 47), (391, 50),
    (48, 257), (53, 261), (46, 264),
    (396, 255), (401, 259), (394, 262),
]
