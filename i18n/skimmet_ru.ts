<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Skimmet</source>
        <translation>О программе Skimmet</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Домашняя страница</translation>
    </message>
    <message>
        <source>Email Me</source>
        <translation>Написать мне</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>Skimmet Version %1</source>
        <translation>Skimmet, версия %1</translation>
    </message>
    <message>
        <source>Click here to visit my WWW home page</source>
        <translation>Нажмите, чтобы открыть мою домашнюю страницу</translation>
    </message>
    <message>
        <source>Email me by your email client program</source>
        <translation>Написать мне в вашей почтовой программе</translation>
    </message>
</context>
<context>
    <name>CFlashView</name>
    <message>
        <source>Please open a file you want to read...</source>
        <translation>Откройте файл, который хотите прочитать...</translation>
    </message>
    <message>
        <source>Stoped...</source>
        <translation>Остановлено...</translation>
    </message>
    <message>
        <source>Paused...</source>
        <translation>Пауза...</translation>
    </message>
    <message>
        <source>The End</source>
        <translation>Конец</translation>
    </message>
</context>
<context>
    <name>CLockIndicators</name>
    <message>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>SCRL</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Toolbar</source>
        <translation>Панель инструментов</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Press Space to read, F11 for full screen</source>
        <translation>Пробел — читать, F11 — полный экран</translation>
    </message>
    <message>
        <source>The reading log could not be read, so a new one was begun.</source>
        <translation>Журнал чтения не удалось прочитать, поэтому начат новый.</translation>
    </message>
    <message>
        <source>The old log was renamed to %1.</source>
        <translation>Старый журнал переименован в %1.</translation>
    </message>
    <message>
        <source>The reading log cannot be kept; reading goes on without it.</source>
        <translation>Журнал чтения вести нельзя; чтение продолжается без него.</translation>
    </message>
    <message>
        <source>The reading log cannot be shown.</source>
        <translation>Журнал чтения не удаётся показать.</translation>
    </message>
</context>
<context>
    <name>CMovePositionPage</name>
    <message>
        <source>%1 (outside the text)</source>
        <translation>%1 (за пределами текста)</translation>
    </message>
</context>
<context>
    <name>CPacingPage</name>
    <message>
        <source>Pace by content</source>
        <translation>Темп по содержанию</translation>
    </message>
    <message>
        <source>Each unit&apos;s times follow what it holds and what ended the unit before.</source>
        <translation>Время каждой порции зависит от её содержания и от того, чем закончилась предыдущая.</translation>
    </message>
    <message>
        <source>Reference length:</source>
        <translation>Опорная длина:</translation>
    </message>
    <message>
        <source> characters</source>
        <translation> симв.</translation>
    </message>
    <message>
        <source>A unit this long is shown for exactly Duration.</source>
        <translation>Порция такой длины показывается ровно «Длительность».</translation>
    </message>
    <message>
        <source>Length weight:</source>
        <translation>Вес длины:</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>How much longer a unit twice that long stays, and how much shorter one half as long.</source>
        <translation>Насколько дольше показывается порция вдвое длиннее и насколько короче — вдвое короче.</translation>
    </message>
    <message>
        <source>Shortest show time:</source>
        <translation>Кратчайший показ:</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> мс</translation>
    </message>
    <message>
        <source>No unit is shown for less.</source>
        <translation>Ни одна порция не показывается меньше.</translation>
    </message>
    <message>
        <source>Long word from:</source>
        <translation>Длинное слово от:</translation>
    </message>
    <message>
        <source>Words this long or longer take more time.</source>
        <translation>Слова такой длины и длиннее получают больше времени.</translation>
    </message>
    <message>
        <source>For each long word:</source>
        <translation>За каждое длинное слово:</translation>
    </message>
    <message>
        <source>Of Duration, added to the unit&apos;s time.</source>
        <translation>От длительности, прибавляется ко времени порции.</translation>
    </message>
    <message>
        <source>For each number:</source>
        <translation>За каждое число:</translation>
    </message>
    <message>
        <source>Of Duration, added for each word with a digit.</source>
        <translation>От длительности, прибавляется за каждое слово с цифрой.</translation>
    </message>
    <message>
        <source>After a clause:</source>
        <translation>После части фразы:</translation>
    </message>
    <message>
        <source>Of Between, the gap after a conditional stop symbol (, ; :).</source>
        <translation>От паузы «Между», пауза после условного стоп-символа (, ; :).</translation>
    </message>
    <message>
        <source>After a sentence:</source>
        <translation>После предложения:</translation>
    </message>
    <message>
        <source>Of Between, the gap after an unconditional stop symbol (. ? !).</source>
        <translation>От паузы «Между», пауза после безусловного стоп-символа (. ? !).</translation>
    </message>
    <message>
        <source>After a paragraph:</source>
        <translation>После абзаца:</translation>
    </message>
    <message>
        <source>Of Between, the gap after a paragraph&apos;s end.</source>
        <translation>От паузы «Между», пауза в конце абзаца.</translation>
    </message>
    <message>
        <source>Gentle start over:</source>
        <translation>Мягкий старт на:</translation>
    </message>
    <message>
        <source> units</source>
        <translation> порц.</translation>
    </message>
    <message>
        <source>After Run or a move the reading reaches full pace over so many units.</source>
        <translation>После запуска или перехода чтение набирает полный темп за столько порций.</translation>
    </message>
    <message>
        <source>Gentle start at:</source>
        <translation>Мягкий старт с:</translation>
    </message>
    <message>
        <source>The times of the first of those units.</source>
        <translation>Время первой из этих порций.</translation>
    </message>
    <message>
        <source>Slow down between sentences first</source>
        <translation>Сначала замедлять между предложениями</translation>
    </message>
    <message>
        <source>Slower lengthens the gaps after sentences and paragraphs before the units.</source>
        <translation>«Медленнее» удлиняет паузы после предложений и абзацев раньше, чем сами порции.</translation>
    </message>
</context>
<context>
    <name>CRatingRow</name>
    <message>
        <source>How well did you follow? 1 (poorly) to 5 (fully):</source>
        <translation>Насколько хорошо вы следили? 1 (плохо) — 5 (полностью):</translation>
    </message>
</context>
<context>
    <name>CReadingLogWindow</name>
    <message>
        <source>Reading log</source>
        <translation>Журнал чтения</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Minutes a day</source>
        <translation>Минут в день</translation>
    </message>
    <message>
        <source>Place in each text</source>
        <translation>Место в каждом тексте</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Экспорт в CSV...</translation>
    </message>
    <message>
        <source>You followed best at about %1 words per minute.</source>
        <translation>Лучше всего вы следили на скорости около %1 слов в минуту.</translation>
    </message>
    <message>
        <source>Rate how well you followed after a session of five minutes or more, and the log shows the speed at which you follow best.</source>
        <translation>Оценивайте, насколько хорошо вы следили, после сеанса от пяти минут, и журнал покажет скорость, на которой вы следите лучше всего.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Time read</source>
        <translation>Время чтения</translation>
    </message>
    <message>
        <source>Words read</source>
        <translation>Прочитано слов</translation>
    </message>
    <message>
        <source>Share read</source>
        <translation>Доля прочитанного</translation>
    </message>
    <message>
        <source>Words per minute</source>
        <translation>Слов в минуту</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Сеансы</translation>
    </message>
    <message>
        <source>Last read</source>
        <translation>Последнее чтение</translation>
    </message>
    <message>
        <source>Words per minute, each session of the last twelve weeks</source>
        <translation>Слов в минуту, каждый сеанс за последние двенадцать недель</translation>
    </message>
    <message>
        <source>Not rated</source>
        <translation>Без оценки</translation>
    </message>
    <message>
        <source>Followed %1 of 5</source>
        <translation>Следил на %1 из 5</translation>
    </message>
    <message>
        <source>Followed best: %1 wpm</source>
        <translation>Лучше всего: %1 сл/мин</translation>
    </message>
    <message>
        <source>wpm</source>
        <translation>сл/мин</translation>
    </message>
    <message>
        <source>Minutes read</source>
        <translation>Минут чтения</translation>
    </message>
    <message>
        <source>Minutes read a day, the last four weeks</source>
        <translation>Минут чтения в день за последние четыре недели</translation>
    </message>
    <message>
        <source>min</source>
        <translation>мин</translation>
    </message>
    <message>
        <source>Place in each text after each session of the last twelve weeks, in percent</source>
        <translation>Место в каждом тексте после каждого сеанса за последние двенадцать недель, в процентах</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Export the reading log</source>
        <translation>Экспорт журнала чтения</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>The reading log could not be written to %1.</source>
        <translation>Не удалось записать журнал чтения в %1.</translation>
    </message>
</context>
<context>
    <name>CReadingPane</name>
    <message>
        <source>Ch %1/%2</source>
        <translation>Гл. %1/%2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 мин</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 ч %2 мин</translation>
    </message>
    <message>
        <source>%1 left in chapter</source>
        <translation>%1 до конца главы</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>осталось %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>около %1</translation>
    </message>
    <message>
        <source>%1 wpm</source>
        <translation>%1 сл/мин</translation>
    </message>
</context>
<context>
    <name>CRecentTextsMenu</name>
    <message>
        <source>No recent texts</source>
        <translation>Нет недавних текстов</translation>
    </message>
</context>
<context>
    <name>CTextDocument</name>
    <message>
        <source>Error Saving File</source>
        <translation>Ошибка сохранения файла</translation>
    </message>
    <message>
        <source>Error Opening File</source>
        <translation>Ошибка открытия файла</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>Чтение %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Text files and books (*.txt *.epub *.fb2 *.fb2.zip *.html *.htm *.xhtml *.pdf)</source>
        <translation>Тексты и книги (*.txt *.epub *.fb2 *.fb2.zip *.html *.htm *.xhtml *.pdf)</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Текстовые файлы (*.txt)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message>
        <source>Skimmet settings (*.SKM)</source>
        <translation>Настройки Skimmet (*.SKM)</translation>
    </message>
    <message>
        <source>INI-Files (*.ini)</source>
        <translation>INI-файлы (*.ini)</translation>
    </message>
    <message>
        <source>Open for Skimmet...</source>
        <translation>Открыть в Skimmet...</translation>
    </message>
    <message>
        <source>There is no text to read.</source>
        <translation>Нет текста для чтения.</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>Буфер обмена</translation>
    </message>
    <message>
        <source>Clipboard: %1</source>
        <translation>Буфер обмена: %1</translation>
    </message>
    <message>
        <source> (read-only)</source>
        <translation> (только чтение)</translation>
    </message>
    <message>
        <source>This text is open in another Skimmet window.</source>
        <translation>Этот текст открыт в другом окне Skimmet.</translation>
    </message>
    <message>
        <source>That window keeps its settings, position and bookmarks; this one shows it read-only and saves nothing to its settings file.</source>
        <translation>То окно хранит его настройки, позицию и закладки; это показывает текст только для чтения и ничего не записывает в файл его настроек.</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Вы уверены?</translation>
    </message>
    <message>
        <source>Open settings...</source>
        <translation>Открыть настройки...</translation>
    </message>
    <message>
        <source>Open as plain text (*)</source>
        <translation>Открыть как простой текст (*)</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Показывает справку по параметрам командной строки.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Показывает сведения о версии.</translation>
    </message>
    <message>
        <source>Print the units that reading &lt;file&gt; would flash, from its stored position on, and exit.</source>
        <translation>Вывести порции, которые покажет чтение &lt;file&gt; с сохранённой позиции, и выйти.</translation>
    </message>
    <message>
        <source>Print the units of --units with the gap before each and its show time in ms, and exit.</source>
        <translation>Вывести порции --units с паузой перед каждой и временем показа в мс, и выйти.</translation>
    </message>
    <message>
        <source>Print the text that opening &lt;file&gt; gives (a book&apos;s text too), in UTF-8, and exit.</source>
        <translation>Вывести текст, который даёт открытие &lt;file&gt; (и текст книги), в UTF-8, и выйти.</translation>
    </message>
    <message>
        <source>Print the table of contents of &lt;file&gt;: each entry&apos;s offset, a tab and its indented title, and exit.</source>
        <translation>Вывести оглавление &lt;file&gt;: смещение каждой записи, табуляцию и заголовок с отступом, и выйти.</translation>
    </message>
    <message>
        <source>Print the encoding that opening &lt;file&gt; would read it in, and exit.</source>
        <translation>Вывести кодировку, в которой будет прочитан &lt;file&gt;, и выйти.</translation>
    </message>
    <message>
        <source>Speed reader that flashes a text a few words at a time.</source>
        <translation>Программа скорочтения, показывающая текст по нескольку слов.</translation>
    </message>
    <message>
        <source>Text file to open at start.</source>
        <translation>Текстовый файл, открываемый при запуске.</translation>
    </message>
    <message>
        <source>--%1 takes one file and nothing else.</source>
        <translation>--%1 принимает один файл и ничего больше.</translation>
    </message>
    <message>
        <source>Only one file can be opened.</source>
        <translation>Можно открыть только один файл.</translation>
    </message>
    <message>
        <source>Print the reading log as CSV, a row a session, and exit.</source>
        <translation>Вывести журнал чтения в CSV, по строке на сеанс, и выйти.</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>Reads the text again in this encoding</source>
        <translation>Перечитывает текст в этой кодировке</translation>
    </message>
    <message>
        <source>Open...	Ctrl+O</source>
        <translation>&amp;Открыть...	Ctrl+O</translation>
    </message>
    <message>
        <source>Opens an existing text file</source>
        <translation>Открывает существующий текстовый файл</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Load settings...</source>
        <translation>Загрузить настройки...</translation>
    </message>
    <message>
        <source>Load settings from file</source>
        <translation>Загрузить настройки из файла</translation>
    </message>
    <message>
        <source>...as default</source>
        <translation>...как настройки по умолчанию</translation>
    </message>
    <message>
        <source>Saves currient settings as defaulte settings of the program</source>
        <translation>Сохраняет текущие настройки как настройки программы по умолчанию</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Сохранить настройки</translation>
    </message>
    <message>
        <source>...of this file</source>
        <translation>...этого файла</translation>
    </message>
    <message>
        <source>Saves settings as settings of the currently opened file</source>
        <translation>Сохраняет настройки как настройки открытого файла</translation>
    </message>
    <message>
        <source>Save settings of this file</source>
        <translation>Сохранить настройки этого файла</translation>
    </message>
    <message>
        <source>E&amp;xit	Ctrl+Q</source>
        <translation>В&amp;ыход	Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Выйти из программы</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>&amp;Отменить	Ctrl+Z</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>Отменить последнее действие</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Cu&amp;t	Ctrl+X</source>
        <translation>&amp;Вырезать	Ctrl+X</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>Вырезать выделенное и поместить в буфер обмена</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Вырезать</translation>
    </message>
    <message>
        <source>&amp;Copy	Ctrl+C</source>
        <translation>&amp;Копировать	Ctrl+C</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>Копировать показанное в буфер обмена</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>&amp;Paste	Ctrl+V</source>
        <translation>Вст&amp;авить	Ctrl+V</translation>
    </message>
    <message>
        <source>Insert Clipboard contents</source>
        <translation>Читать текст из буфера обмена</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Панель инструментов</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Показать или скрыть панель инструментов</translation>
    </message>
    <message>
        <source>Toggle ToolBar</source>
        <translation>Панель инструментов</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Строка состояния</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Показать или скрыть строку состояния</translation>
    </message>
    <message>
        <source>Toggle StatusBar</source>
        <translation>Строка состояния</translation>
    </message>
    <message>
        <source>Full Screen	F11</source>
        <translation>&amp;Полный экран	F11</translation>
    </message>
    <message>
        <source>Full Screen View</source>
        <translation>Показ на весь экран</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Полный экран</translation>
    </message>
    <message>
        <source>Options panel</source>
        <translation>Панель настроек</translation>
    </message>
    <message>
        <source>Shows\Hides an options panel</source>
        <translation>Показывает или скрывает панель настроек</translation>
    </message>
    <message>
        <source>Option panel</source>
        <translation>Панель настроек</translation>
    </message>
    <message>
        <source>Reading options</source>
        <translation>Параметры чтения</translation>
    </message>
    <message>
        <source>Shows the options panel and opens a page of reading options</source>
        <translation>Показывает панель настроек на странице параметров чтения</translation>
    </message>
    <message>
        <source>Move position</source>
        <translation>Переход</translation>
    </message>
    <message>
        <source>Shows the options panel and opens a page of moving a text position</source>
        <translation>Показывает панель настроек на странице перехода по тексту</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Stops and saves currient position</source>
        <translation>Останавливает и запоминает текущую позицию</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>СТОП</translation>
    </message>
    <message>
        <source>Stops tand sets the position to the beginning</source>
        <translation>Останавливает и переходит к началу</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Add Bookmark</source>
        <translation>Добавить закладку</translation>
    </message>
    <message>
        <source>Adds a bookmark associated with the current position</source>
        <translation>Добавляет закладку на текущей позиции</translation>
    </message>
    <message>
        <source>Run or Pause	Space</source>
        <translation>Пуск или пауза	Space</translation>
    </message>
    <message>
        <source>Runs the reading, or pauses it while it runs</source>
        <translation>Запускает чтение или ставит его на паузу</translation>
    </message>
    <message>
        <source>Run or Pause</source>
        <translation>Пуск или пауза</translation>
    </message>
    <message>
        <source>Back one sentence	Left</source>
        <translation>На предложение назад	Left</translation>
    </message>
    <message>
        <source>Moves to the start of the previous sentence</source>
        <translation>Переходит к началу предыдущего предложения</translation>
    </message>
    <message>
        <source>Back one sentence</source>
        <translation>На предложение назад</translation>
    </message>
    <message>
        <source>Forward one sentence	Right</source>
        <translation>На предложение вперёд	Right</translation>
    </message>
    <message>
        <source>Moves to the start of the next sentence</source>
        <translation>Переходит к началу следующего предложения</translation>
    </message>
    <message>
        <source>Forward one sentence</source>
        <translation>На предложение вперёд</translation>
    </message>
    <message>
        <source>Faster	Up</source>
        <translation>Быстрее	Up</translation>
    </message>
    <message>
        <source>Shortens the gap and the duration by a tenth</source>
        <translation>Сокращает паузу и длительность на десятую</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Быстрее</translation>
    </message>
    <message>
        <source>Slower	Down</source>
        <translation>Медленнее	Down</translation>
    </message>
    <message>
        <source>Lengthens the gap and the duration by a tenth</source>
        <translation>Удлиняет паузу и длительность на десятую</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Медленнее</translation>
    </message>
    <message>
        <source>Back to the start	Home</source>
        <translation>В начало	Home</translation>
    </message>
    <message>
        <source>Moves to the start of the text</source>
        <translation>Переходит к началу текста</translation>
    </message>
    <message>
        <source>Back to the start</source>
        <translation>В начало</translation>
    </message>
    <message>
        <source>Pace by content	Ctrl+P</source>
        <translation>Темп по содержанию	Ctrl+P</translation>
    </message>
    <message>
        <source>Paces each unit by what it holds and what ended the one before</source>
        <translation>Задаёт время каждой порции по её содержанию и по концу предыдущей</translation>
    </message>
    <message>
        <source>Pace by content</source>
        <translation>Темп по содержанию</translation>
    </message>
    <message>
        <source>Back one unit	Ctrl+Left</source>
        <translation>На порцию назад	Ctrl+Left</translation>
    </message>
    <message>
        <source>Moves to the unit before</source>
        <translation>Переходит к предыдущей порции</translation>
    </message>
    <message>
        <source>Back one unit</source>
        <translation>На порцию назад</translation>
    </message>
    <message>
        <source>Forward one unit	Ctrl+Right</source>
        <translation>На порцию вперёд	Ctrl+Right</translation>
    </message>
    <message>
        <source>Moves to the unit after</source>
        <translation>Переходит к следующей порции</translation>
    </message>
    <message>
        <source>Forward one unit</source>
        <translation>На порцию вперёд</translation>
    </message>
    <message>
        <source>Back one paragraph	Ctrl+Up</source>
        <translation>На абзац назад	Ctrl+Up</translation>
    </message>
    <message>
        <source>Moves to the start of the previous paragraph</source>
        <translation>Переходит к началу предыдущего абзаца</translation>
    </message>
    <message>
        <source>Back one paragraph</source>
        <translation>На абзац назад</translation>
    </message>
    <message>
        <source>Forward one paragraph	Ctrl+Down</source>
        <translation>На абзац вперёд	Ctrl+Down</translation>
    </message>
    <message>
        <source>Moves to the start of the next paragraph</source>
        <translation>Переходит к началу следующего абзаца</translation>
    </message>
    <message>
        <source>Forward one paragraph</source>
        <translation>На абзац вперёд</translation>
    </message>
    <message>
        <source>Replay	Backspace</source>
        <translation>Повтор	Backspace</translation>
    </message>
    <message>
        <source>Reads the sentence again from its start, slowly at first</source>
        <translation>Читает предложение снова с начала, сначала медленнее</translation>
    </message>
    <message>
        <source>Replay</source>
        <translation>Повтор</translation>
    </message>
    <message>
        <source>Back one chapter	Page Up</source>
        <translation>На главу назад	Page Up</translation>
    </message>
    <message>
        <source>Moves to the start of this chapter, or of the one before at its start</source>
        <translation>Переходит к началу этой главы, а от её начала — к предыдущей</translation>
    </message>
    <message>
        <source>Back one chapter</source>
        <translation>На главу назад</translation>
    </message>
    <message>
        <source>Forward one chapter	Page Down</source>
        <translation>На главу вперёд	Page Down</translation>
    </message>
    <message>
        <source>Moves to the start of the next chapter</source>
        <translation>Переходит к началу следующей главы</translation>
    </message>
    <message>
        <source>Forward one chapter</source>
        <translation>На главу вперёд</translation>
    </message>
    <message>
        <source>Pause at chapter end</source>
        <translation>Пауза в конце главы</translation>
    </message>
    <message>
        <source>Pauses the reading once the last unit of a chapter has been shown</source>
        <translation>Ставит чтение на паузу после последней порции главы</translation>
    </message>
    <message>
        <source>&amp;About Skimmet...</source>
        <translation>&amp;О программе Skimmet...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Сведения о программе, номер версии и авторские права</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Домашняя страница</translation>
    </message>
    <message>
        <source>Visit my WWW home page</source>
        <translation>Открыть мою домашнюю страницу</translation>
    </message>
    <message>
        <source>Auto-detect</source>
        <translation>Определять автоматически</translation>
    </message>
    <message>
        <source>Reads the text again in the encoding its bytes show</source>
        <translation>Перечитывает текст в кодировке, определённой по его байтам</translation>
    </message>
    <message>
        <source>Recent texts</source>
        <translation>Недавние тексты</translation>
    </message>
    <message>
        <source>SubOptions</source>
        <translation>Страницы настроек</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Кодировка</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Чтение</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>Reading log</source>
        <translation>Журнал чтения</translation>
    </message>
    <message>
        <source>Shows what was read, how fast and how well it was followed</source>
        <translation>Показывает, что прочитано, как быстро и насколько хорошо вы следили</translation>
    </message>
</context>
<context>
    <name>DisplayModes</name>
    <message>
        <source>%1 x %2  </source>
        <translation>%1 x %2  </translation>
    </message>
    <message>
        <source>%1 MHz  </source>
        <translation>%1 Гц  </translation>
    </message>
    <message>
        <source>%1 bpp</source>
        <translation>%1 бит</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Error Opening File</source>
        <translation>Ошибка открытия файла</translation>
    </message>
    <message>
        <source>Size of a text buffer can not be more than 1 Gb</source>
        <translation>Размер текстового буфера не может превышать 1 ГБ</translation>
    </message>
    <message>
        <source>Error Allocating Memory</source>
        <translation>Ошибка выделения памяти</translation>
    </message>
    <message>
        <source>Error Reading File</source>
        <translation>Ошибка чтения файла</translation>
    </message>
    <message>
        <source>The text is over 2 Gb once converted to UTF-8</source>
        <translation>Текст больше 2 ГБ после перевода в UTF-8</translation>
    </message>
</context>
<context>
    <name>MovePositionPage</name>
    <message>
        <source>Bookmarks...</source>
        <translation>Закладки...</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Chapters: choose one to move to its start</source>
        <translation>Главы: выберите главу, чтобы перейти к её началу</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>step:</source>
        <translation>шаг:</translation>
    </message>
</context>
<context>
    <name>OptionsPanel</name>
    <message>
        <source>MainText</source>
        <translation>Основной текст</translation>
    </message>
    <message>
        <source>Adjust...</source>
        <translation>Настроить...</translation>
    </message>
    <message>
        <source>Reading options</source>
        <translation>Параметры чтения</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Переход</translation>
    </message>
    <message>
        <source>Pacing</source>
        <translation>Темп</translation>
    </message>
    <message>
        <source>Full Screen Modes:</source>
        <translation>Режимы полного экрана:</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Скрыть</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Bkgr</source>
        <translation>Фон</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
</context>
<context>
    <name>ReadingOptionsPage</name>
    <message>
        <source>Between:</source>
        <translation>Между:</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Длительность:</translation>
    </message>
    <message>
        <source>MAX simb</source>
        <translation>МАКС симв</translation>
    </message>
    <message>
        <source>min simb</source>
        <translation>мин симв</translation>
    </message>
    <message>
        <source>Text width:</source>
        <translation>Ширина текста:</translation>
    </message>
    <message>
        <source>Stop-simbols:</source>
        <translation>Стоп-символы:</translation>
    </message>
    <message>
        <source>Unconditional stop-simbols:</source>
        <translation>Безусловные стоп-символы:</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>Text color</source>
        <translation>Цвет текста</translation>
    </message>
</context>
</TS>
