<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>QObject</name>
    <message>
        <source>Content</source>
        <translation>Содержание</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Phrase</source>
        <translation>Фраза</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>WorkLanguage</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Панель инструментов</translation>
    </message>
    <message>
        <source>Edit toolbar</source>
        <translation>Панель правки</translation>
    </message>
    <message>
        <source>Font toolbar</source>
        <translation>Панель шрифта</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>Open Database...</source>
        <translation>Открыть базу данных...</translation>
    </message>
    <message>
        <source>Create a database...</source>
        <translation>Создать базу данных...</translation>
    </message>
    <message>
        <source>Save Database As</source>
        <translation>Сохранить базу данных как</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Экспорт</translation>
    </message>
    <message>
        <source>Save phrases to a text file</source>
        <translation>Сохранить фразы в текстовый файл</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Импорт</translation>
    </message>
    <message>
        <source>Loading phrases from a file and adding to current database</source>
        <translation>Загрузка фраз из файла и добавление их в текущую базу данных</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Правка</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Окно</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation>Выйти из программы</translation>
    </message>
    <message>
        <source>Language Settings</source>
        <translation>Выбор языка интерфейса</translation>
    </message>
    <message>
        <source>Ordering Information</source>
        <translation>Как приобрести</translation>
    </message>
    <message>
        <source>Displays content of Help</source>
        <translation>Показывает содержание справки</translation>
    </message>
    <message>
        <source>Getting Started</source>
        <translation>Начало работы</translation>
    </message>
    <message>
        <source>Technical Support</source>
        <translation>Техническая поддержка</translation>
    </message>
    <message>
        <source>&amp;About Quillary</source>
        <translation>&amp;О программе Quillary</translation>
    </message>
    <message>
        <source>Show the About box</source>
        <translation>Показать сведения о программе</translation>
    </message>
    <message>
        <source>Vertical Windows</source>
        <translation>Окна рядом</translation>
    </message>
    <message>
        <source>Vertical layout of the application windows</source>
        <translation>Расположить окна программы рядом, слева направо</translation>
    </message>
    <message>
        <source>Horizontal Windows</source>
        <translation>Окна друг под другом</translation>
    </message>
    <message>
        <source>Horizontal layout of the application windows</source>
        <translation>Расположить окна программы друг под другом</translation>
    </message>
    <message>
        <source>About Quillary</source>
        <translation>О программе Quillary</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Поддержка</translation>
    </message>
    <message>
        <source>The program web page</source>
        <translation>Страница программы</translation>
    </message>
    <message>
        <source>Web</source>
        <translation>Сайт</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Версия</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Unable to open the base - </source>
        <translation>Не удаётся открыть базу - </translation>
    </message>
    <message>
        <source>table not found.</source>
        <translation>таблица не найдена.</translation>
    </message>
    <message>
        <source>Select Database File</source>
        <translation>Выберите файл базы данных</translation>
    </message>
    <message>
        <source>Save As A New Database</source>
        <translation>Сохранить как новую базу данных</translation>
    </message>
    <message>
        <source>Unable to save the base - </source>
        <translation>Не удаётся сохранить базу - </translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>Create a new database for importing?</source>
        <translation>Создать новую базу данных для импорта?</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been imported.</source>
        <translation>
            <numerusform>Импортирована %n фраза.</numerusform>
            <numerusform>Импортировано %n фразы.</numerusform>
            <numerusform>Импортировано %n фраз.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>Файл %1 уже существует.
Заменить его?</translation>
    </message>
    <message>
        <source>Find Strings</source>
        <translation>Найти строки</translation>
    </message>
    <message>
        <source>Phrases</source>
        <translation>Фразы</translation>
    </message>
    <message>
        <source>Labels</source>
        <translation>Метки</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Комментарий</translation>
    </message>
    <message>
        <source>HotKey</source>
        <translation>Горячая клавиша</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Рейтинг</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Использований</translation>
    </message>
    <message>
        <source>Search phrases</source>
        <translation>Поиск фраз</translation>
    </message>
    <message>
        <source>Copy Phrase</source>
        <translation>Копировать фразу</translation>
    </message>
    <message>
        <source>Copy selected phrase to the clipboard</source>
        <translation>Копировать выбранную фразу в буфер обмена</translation>
    </message>
    <message>
        <source>Copy text from cells</source>
        <translation>Копировать текст ячеек</translation>
    </message>
    <message>
        <source>Copy text from several selected cells to the clipboard</source>
        <translation>Копировать текст нескольких выделенных ячеек в буфер обмена</translation>
    </message>
    <message>
        <source>Paste Phrase</source>
        <translation>Вставить фразу</translation>
    </message>
    <message>
        <source>Paste the phrase from the clipboard</source>
        <translation>Вставить фразу из буфера обмена</translation>
    </message>
    <message>
        <source>Delete Phrase</source>
        <translation>Удалить фразу</translation>
    </message>
    <message>
        <source>Append Phrase</source>
        <translation>Добавить фразу</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been found.</source>
        <translation>
            <numerusform>Найдена %n фраза.</numerusform>
            <numerusform>Найдено %n фразы.</numerusform>
            <numerusform>Найдено %n фраз.</numerusform>
        </translation>
    </message>
    <message>
        <source>Phrases are not found.</source>
        <translation>Фразы не найдены.</translation>
    </message>
    <message numerus="yes">
        <source>A total of %n phrase(s).</source>
        <translation>
            <numerusform>Всего %n фраза.</numerusform>
            <numerusform>Всего %n фразы.</numerusform>
            <numerusform>Всего %n фраз.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The phrase used %n time(s)</source>
        <translation>
            <numerusform>Фраза использована %n раз</numerusform>
            <numerusform>Фраза использована %n раза</numerusform>
            <numerusform>Фраза использована %n раз</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been chosen.</source>
        <translation>
            <numerusform>Выбрана %n фраза.</numerusform>
            <numerusform>Выбрано %n фразы.</numerusform>
            <numerusform>Выбрано %n фраз.</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you want to delete this phrase?</source>
        <translation>Удалить эту фразу?</translation>
    </message>
    <message numerus="yes">
        <source>Do you want to delete %n phrase(s)?</source>
        <translation>
            <numerusform>Удалить %n фразу?</numerusform>
            <numerusform>Удалить %n фразы?</numerusform>
            <numerusform>Удалить %n фраз?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been exported.</source>
        <translation>
            <numerusform>Экспортирована %n фраза.</numerusform>
            <numerusform>Экспортировано %n фразы.</numerusform>
            <numerusform>Экспортировано %n фраз.</numerusform>
        </translation>
    </message>
    <message>
        <source>Editing phrase</source>
        <translation>Редактирование фразы</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Undo the last command</source>
        <translation>Отменить последнее действие</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Redo the last command</source>
        <translation>Повторить отменённое действие</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Вырезать</translation>
    </message>
    <message>
        <source>Cut selected content to the clipboard</source>
        <translation>Вырезать выделенное в буфер обмена</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy selected content to the clipboard</source>
        <translation>Копировать выделенное в буфер обмена</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>Paste the clipboard content into the current selection</source>
        <translation>Вставить содержимое буфера обмена на место выделенного</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Полужирный</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Курсив</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Подчёркнутый</translation>
    </message>
    <message>
        <source>Align Left</source>
        <translation>По левому краю</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>По центру</translation>
    </message>
    <message>
        <source>Align Right</source>
        <translation>По правому краю</translation>
    </message>
    <message>
        <source>Justify</source>
        <translation>По ширине</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Цвет текста</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>Не удаётся прочитать файл %1:
%2.</translation>
    </message>
    <message>
        <source>The phrases cannot be stored: %1</source>
        <translation type="vanished">Не удаётся сохранить фразы: %1</translation>
    </message>
    <message>
        <source>The imported phrases could not be saved: %1</source>
        <translation type="vanished">Не удалось сохранить импортированные фразы: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) could not be stored: %1</source>
        <translation type="vanished">
            <numerusform>Не удалось сохранить %n фразу: %1</numerusform>
            <numerusform>Не удалось сохранить %n фразы: %1</numerusform>
            <numerusform>Не удалось сохранить %n фраз: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>Не удаётся записать файл %1:
%2.</translation>
    </message>
    <message>
        <source>Unable to save the phrase - </source>
        <translation>Не удаётся сохранить фразу - </translation>
    </message>
    <message>
        <source>the phrase is no longer in the file</source>
        <translation>фразы больше нет в файле</translation>
    </message>
    <message>
        <source>the database did not take the phrase</source>
        <translation>база данных не приняла фразу</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) were read, none of them was stored: %1</source>
        <translation>
            <numerusform>Прочитана %n фраза, ни одна не сохранена: %1</numerusform>
            <numerusform>Прочитано %n фразы, ни одна не сохранена: %1</numerusform>
            <numerusform>Прочитано %n фраз, ни одна не сохранена: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>the phrase table lacks the columns %1.</source>
        <translation>в таблице фраз нет столбцов %1.</translation>
    </message>
    <message>
        <source> [read-only]</source>
        <translation> [только чтение]</translation>
    </message>
    <message>
        <source>The database is read-only: uses of phrases are not counted.</source>
        <translation>База данных только для чтения: использования фраз не подсчитываются.</translation>
    </message>
    <message numerus="yes">
        <source>Paste %n phrase(s)?</source>
        <translation>
            <numerusform>Вставить %n фразу?</numerusform>
            <numerusform>Вставить %n фразы?</numerusform>
            <numerusform>Вставить %n фраз?</numerusform>
        </translation>
    </message>
    <message>
        <source>This phrase is too long to be shown here (%1 MB). It can still be copied and exported.</source>
        <translation>Эта фраза слишком длинна, чтобы показать её здесь (%1 МБ). Её можно скопировать и экспортировать.</translation>
    </message>
    <message>
        <source>there is no file %1.</source>
        <translation>файла %1 нет.</translation>
    </message>
    <message>
        <source>The database file %1 is no longer there: it was removed, renamed or replaced by a file that cannot be used.
The phrases shown are kept; File &gt; Save Database As writes them to a new file.</source>
        <translation>Файла базы данных %1 больше нет: он удалён, переименован или заменён файлом, с которым нельзя работать.
Показанные фразы сохранены; команда Файл &gt; Сохранить базу данных как запишет их в новый файл.</translation>
    </message>
    <message>
        <source>Another window or program deleted this phrase after you began editing it.</source>
        <translation>Другое окно или программа удалили эту фразу после того, как вы начали её редактировать.</translation>
    </message>
    <message>
        <source>Another window or program changed this phrase after you began editing it.</source>
        <translation>Другое окно или программа изменили эту фразу после того, как вы начали её редактировать.</translation>
    </message>
    <message>
        <source>Keep both: your text is stored as a new phrase.
Overwrite: your text replaces theirs.
Discard mine: the file keeps theirs.</source>
        <translation>Оставить обе: ваш текст сохраняется как новая фраза.
Заменить: ваш текст заменяет их текст.
Отменить мою: в файле остаётся их текст.</translation>
    </message>
    <message>
        <source>&amp;Keep both</source>
        <translation>&amp;Оставить обе</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Заменить</translation>
    </message>
    <message>
        <source>&amp;Discard mine</source>
        <translation>Отменить &amp;мою</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 или %2</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Показать эту справку.</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>Показать версию.</translation>
    </message>
    <message>
        <source>Bring up the window, a running copy&apos;s if any, with TEXT searched; with --export, write only the phrases TEXT finds.</source>
        <translation>Вызвать окно (уже запущенной копии, если она есть) с поиском TEXT; с --export — записать только фразы, которые находит TEXT.</translation>
    </message>
    <message>
        <source>Print the phrases a search for TEXT finds, all without TEXT, one line each: id, phrase, labels, comment, rating and count, separated by TABs.</source>
        <translation>Вывести фразы, которые находит поиск TEXT (без TEXT — все), по строке на фразу: id, фраза, метки, комментарий, рейтинг и счётчик через табуляцию.</translation>
    </message>
    <message>
        <source>Print how many phrases a search for TEXT finds, all without TEXT.</source>
        <translation>Вывести, сколько фраз находит поиск TEXT (без TEXT — сколько всего фраз).</translation>
    </message>
    <message>
        <source>With --list, print a JSON array.</source>
        <translation>С --list — вывести массив JSON.</translation>
    </message>
    <message>
        <source>With --list, end each line with a NUL character, for xargs -0.</source>
        <translation>С --list — завершать каждую строку символом NUL, для xargs -0.</translation>
    </message>
    <message>
        <source>With --list, print at most N phrases.</source>
        <translation>С --list — вывести не больше N фраз.</translation>
    </message>
    <message>
        <source>Write phrase ID&apos;s text to standard output and count a use.</source>
        <translation>Записать текст фразы ID в стандартный вывод и засчитать использование.</translation>
    </message>
    <message>
        <source>With --print, count no use.</source>
        <translation>С --print — не засчитывать использование.</translation>
    </message>
    <message>
        <source>Store TEXT as a new phrase, print its id; - reads standard input.</source>
        <translation>Сохранить TEXT как новую фразу и вывести её id; - читает стандартный ввод.</translation>
    </message>
    <message>
        <source>Change phrase ID: one or more of the four fields below.</source>
        <translation>Изменить фразу ID: одно или несколько из четырёх полей ниже.</translation>
    </message>
    <message>
        <source>With --set, the new text; - reads standard input. The rich text is dropped, as when the phrase is edited in its cell.</source>
        <translation>С --set — новый текст; - читает стандартный ввод. Форматированный текст сбрасывается, как при правке фразы в её ячейке.</translation>
    </message>
    <message>
        <source>With --add or --set, the labels.</source>
        <translation>С --add или --set — метки.</translation>
    </message>
    <message>
        <source>With --add or --set, the comment.</source>
        <translation>С --add или --set — комментарий.</translation>
    </message>
    <message>
        <source>With --add or --set, the rating, a whole number from 0 to 100.</source>
        <translation>С --add или --set — рейтинг, целое число от 0 до 100.</translation>
    </message>
    <message>
        <source>With --set and one field only: store it only while the phrase still holds VALUE there, else store nothing and exit with status 1; for several fields, give one --set each.</source>
        <translation>С --set и только одним полем: сохранить его, лишь пока в этом поле фразы всё ещё VALUE, иначе ничего не сохранять и завершиться с кодом 1; для нескольких полей — по одному --set на каждое.</translation>
    </message>
    <message>
        <source>Delete phrase ID and the phrases of any further ids; one unknown id deletes none.</source>
        <translation>Удалить фразу ID и фразы с остальными указанными id; если хотя бы один id неизвестен, не удаляется ни одна.</translation>
    </message>
    <message>
        <source>Import a TXT or INI phrase file; - reads standard input.</source>
        <translation type="vanished">Импортировать файл фраз TXT или INI; - читает стандартный ввод.</translation>
    </message>
    <message>
        <source>Export phrases to a TXT file, or INI for a name ending in .ini; - writes standard output.</source>
        <translation type="vanished">Экспортировать фразы в файл TXT или, для имени на .ini, INI; - пишет в стандартный вывод.</translation>
    </message>
    <message>
        <source>With --import or --export, txt or ini whatever the name; --import - needs it, --export - writes txt without it.</source>
        <translation>С --import или --export — txt или ini независимо от имени; для --import - обязателен, без него --export - пишет txt.</translation>
    </message>
    <message>
        <source>Create FILE as a new phrase database, with no phrases.</source>
        <translation>Создать FILE как новую базу фраз, без фраз.</translation>
    </message>
    <message>
        <source>The database of the commands above; the stored one without it.</source>
        <translation>База данных для команд выше; без этого параметра — сохранённая в настройках.</translation>
    </message>
    <message>
        <source>Quillary keeps reusable phrases in one SQLite file.
Without a command it opens its window, on FILE if given.</source>
        <translation>Quillary хранит повторно используемые фразы в одном файле SQLite.
Без команды открывает своё окно, с FILE — на этом файле.</translation>
    </message>
    <message>
        <source>The database to open in the window.</source>
        <translation>База данных, которую открыть в окне.</translation>
    </message>
    <message>
        <source>Unknown option %1.</source>
        <translation>Неизвестный параметр %1.</translation>
    </message>
    <message>
        <source>%1 takes no value.</source>
        <translation>%1 не принимает значения.</translation>
    </message>
    <message>
        <source>The value %1 is missing after %2.</source>
        <translation>После %2 не хватает значения %1.</translation>
    </message>
    <message>
        <source>Try &apos;quillary --help&apos;.</source>
        <translation>См. «quillary --help».</translation>
    </message>
    <message>
        <source>The option %1 is given more than once.</source>
        <translation>Параметр %1 указан больше одного раза.</translation>
    </message>
    <message>
        <source>%1 and %2 are two commands: give one at a time.</source>
        <translation>%1 и %2 — две разные команды: укажите одну.</translation>
    </message>
    <message>
        <source>%1 goes only with %2.</source>
        <translation>%1 используется только с %2.</translation>
    </message>
    <message>
        <source>%1 does not go with %2, only with %3.</source>
        <translation>%1 не используется с %2, только с %3.</translation>
    </message>
    <message>
        <source>%1 does not go with %2.</source>
        <translation>%1 не используется с %2.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;: the window opens one FILE.</source>
        <translation>Лишний аргумент «%1»: окно открывает один FILE.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot; with %2.</source>
        <translation>Лишний аргумент «%1» при %2.</translation>
    </message>
    <message>
        <source>%1 wants the id of a phrase, a whole number, not &quot;%2&quot;.</source>
        <translation>%1 ожидает id фразы — целое число, а не «%2».</translation>
    </message>
    <message>
        <source>%1 wants a phrase that is not empty.</source>
        <translation>%1 ожидает непустую фразу.</translation>
    </message>
    <message>
        <source>%1 wants a file name.</source>
        <translation>%1 ожидает имя файла.</translation>
    </message>
    <message>
        <source>%1 wants a file name: it cannot work on standard input or output.</source>
        <translation>%1 ожидает имя файла: со стандартным вводом или выводом он не работает.</translation>
    </message>
    <message>
        <source>%1 wants a whole number of 0 or more, not &quot;%2&quot;.</source>
        <translation>%1 ожидает целое число не меньше 0, а не «%2».</translation>
    </message>
    <message>
        <source>%1 wants a whole number from 0 to 100, not &quot;%2&quot;.</source>
        <translation>%1 ожидает целое число от 0 до 100, а не «%2».</translation>
    </message>
    <message>
        <source>%1 wants at least one of %2.</source>
        <translation>%1 требует хотя бы одного из %2.</translation>
    </message>
    <message>
        <source>%1 goes with one of %2, not with several.</source>
        <translation>%1 используется с одним из %2, а не с несколькими.</translation>
    </message>
    <message>
        <source>%1 wants a whole number with %2, not &quot;%3&quot;.</source>
        <translation>%1 ожидает целое число вместе с %2, а не «%3».</translation>
    </message>
    <message>
        <source>%1 wants txt or ini, not &quot;%2&quot;.</source>
        <translation>%1 ожидает txt или ini, а не «%2».</translation>
    </message>
    <message>
        <source>%1 - wants %2 txt or %2 ini.</source>
        <translation>%1 - требует %2 txt или %2 ini.</translation>
    </message>
    <message>
        <source>There is no phrase with the id %1.</source>
        <translation>Фразы с id %1 нет.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удаётся прочитать %1: %2</translation>
    </message>
    <message>
        <source>There is no database file %1.</source>
        <translation>Файла базы данных %1 нет.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не удаётся открыть %1: %2</translation>
    </message>
    <message>
        <source>The file %1 is not a phrase database: %2</source>
        <translation>Файл %1 не является базой фраз: %2</translation>
    </message>
    <message>
        <source>it has no table %1</source>
        <translation>в нём нет таблицы %1</translation>
    </message>
    <message>
        <source>Cannot count the use of phrase %1: %2</source>
        <translation>Не удаётся засчитать использование фразы %1: %2</translation>
    </message>
    <message>
        <source>Cannot store the phrase in %1: %2</source>
        <translation>Не удаётся сохранить фразу в %1: %2</translation>
    </message>
    <message>
        <source>Cannot change phrase %1: %2</source>
        <translation>Не удаётся изменить фразу %1: %2</translation>
    </message>
    <message>
        <source>Another window or program deleted phrase %1: nothing was stored.</source>
        <translation>Другое окно или программа удалили фразу %1: ничего не сохранено.</translation>
    </message>
    <message>
        <source>Another window or program changed phrase %1: it no longer holds the value of --if-unchanged, and nothing was stored.</source>
        <translation>Другое окно или программа изменили фразу %1: в ней уже нет значения из --if-unchanged, и ничего не сохранено.</translation>
    </message>
    <message>
        <source>There is no phrase with the id %1: nothing was deleted.</source>
        <translation>Фразы с id %1 нет: ничего не удалено.</translation>
    </message>
    <message>
        <source>Cannot delete the phrases: %1</source>
        <translation>Не удаётся удалить фразы: %1</translation>
    </message>
    <message>
        <source>Cannot store standard input in a temporary file: %1</source>
        <translation>Не удаётся сохранить стандартный ввод во временный файл: %1</translation>
    </message>
    <message>
        <source>Cannot write a temporary file for standard output: %1</source>
        <translation>Не удаётся записать временный файл для стандартного вывода: %1</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>Не удаётся создать %1: %2</translation>
    </message>
    <message>
        <source>the template %1 cannot be read: %2</source>
        <translation>не удаётся прочитать шаблон %1: %2</translation>
    </message>
    <message>
        <source>the file already exists</source>
        <translation>такой файл уже есть</translation>
    </message>
    <message>
        <source>Cannot read standard input.</source>
        <translation>Не удаётся прочитать стандартный ввод.</translation>
    </message>
    <message>
        <source>Standard input is not UTF-8 text.</source>
        <translation>Стандартный ввод — не текст в UTF-8.</translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1</source>
        <translation>Не удаётся записать в стандартный вывод: %1</translation>
    </message>
    <message>
        <source>Cannot connect to the display: no display is set.</source>
        <translation>Не удаётся подключиться к дисплею: дисплей не задан.</translation>
    </message>
    <message>
        <source>Cannot connect to the display %1.</source>
        <translation>Не удаётся подключиться к дисплею %1.</translation>
    </message>
    <message numerus="yes">
        <source>The search text is too long: a search takes at most %n character(s).</source>
        <translation>
            <numerusform>Текст поиска слишком длинный: искать можно не более %n символа.</numerusform>
            <numerusform>Текст поиска слишком длинный: искать можно не более %n символов.</numerusform>
            <numerusform>Текст поиска слишком длинный: искать можно не более %n символов.</numerusform>
        </translation>
    </message>
    <message>
        <source>it is a folder, not a regular file</source>
        <translation>это папка, а не обычный файл</translation>
    </message>
    <message>
        <source>it is a FIFO (named pipe), not a regular file</source>
        <translation>это FIFO (именованный канал), а не обычный файл</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>это устройство, а не обычный файл</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>the id column of the phrase table is declared &quot;%1&quot;, not as an INTEGER PRIMARY KEY that the database assigns</source>
        <translation>столбец id таблицы фраз объявлен как &quot;%1&quot;, а не как INTEGER PRIMARY KEY, который назначает база данных</translation>
    </message>
    <message>
        <source>%1 is a view, not a table</source>
        <translation>%1 — это представление (view), а не таблица</translation>
    </message>
    <message>
        <source>no id is left for a new phrase: the phrase table has already used the largest one, %1</source>
        <translation>для новой фразы не осталось id: таблица фраз уже использовала наибольший, %1</translation>
    </message>
    <message>
        <source>The formatting of this phrase is too complex to be shown here, so only its text follows. The phrase can still be copied and exported.</source>
        <translation>Оформление этой фразы слишком сложно, чтобы показать его здесь, поэтому ниже только её текст. Фразу по-прежнему можно копировать и экспортировать.</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) will not read back as they are: the text format cannot carry some of their characters, such as TABs, carriage returns or leading line breaks. Export them as INI to keep them whole.</source>
        <translation>
            <numerusform>%n фраза не прочитается обратно в прежнем виде: текстовый формат не может передать некоторые её символы, например табуляции, возвраты каретки или переводы строки в начале. Чтобы сохранить её целиком, экспортируйте в INI.</numerusform>
            <numerusform>%n фразы не прочитаются обратно в прежнем виде: текстовый формат не может передать некоторые их символы, например табуляции, возвраты каретки или переводы строки в начале. Чтобы сохранить их целиком, экспортируйте в INI.</numerusform>
            <numerusform>%n фраз не прочитаются обратно в прежнем виде: текстовый формат не может передать некоторые их символы, например табуляции, возвраты каретки или переводы строки в начале. Чтобы сохранить их целиком, экспортируйте в INI.</numerusform>
        </translation>
    </message>
    <message>
        <source>Import a TXT, INI or phrase database (.db) file; - reads standard input.</source>
        <translation>Импортировать файл TXT, INI или базу фраз (.db); - читает стандартный ввод.</translation>
    </message>
    <message>
        <source>Export phrases to a TXT file, INI for a name ending in .ini, a new phrase database for .db; - writes standard output.</source>
        <translation>Экспортировать фразы в файл TXT, в INI для имени на .ini, в новую базу фраз для .db; - пишет в стандартный вывод.</translation>
    </message>
    <message>
        <source>Cannot open %1: the server wants a password; give it in the file ~/.pgpass or in the environment variable PGPASSWORD (%2)</source>
        <translation>Не удаётся открыть %1: сервер требует пароль; укажите его в файле ~/.pgpass или в переменной окружения PGPASSWORD (%2)</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>%1

The password of %2 on %3:</source>
        <translation>%1

Пароль пользователя %2 для %3:</translation>
    </message>
    <message>
        <source>Connect to a server…</source>
        <translation>Подключиться к серверу…</translation>
    </message>
    <message>
        <source>Open the phrases a team keeps on a PostgreSQL server</source>
        <translation>Открыть фразы, которые команда хранит на сервере PostgreSQL</translation>
    </message>
    <message>
        <source>Connect to a server</source>
        <translation>Подключение к серверу</translation>
    </message>
    <message>
        <source>localhost</source>
        <translation>localhost</translation>
    </message>
    <message>
        <source>default</source>
        <translation>по умолчанию</translation>
    </message>
    <message>
        <source>your login name</source>
        <translation>ваше имя входа</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Подключиться</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Сервер:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>П&amp;орт:</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>&amp;База данных:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>По&amp;льзователь:</translation>
    </message>
    <message>
        <source>The connection to the server is lost: %1. The phrases shown are kept; the next action connects again.</source>
        <translation type="vanished">Соединение с сервером потеряно: %1. Показанные фразы сохранены; следующее действие подключится снова.</translation>
    </message>
    <message>
        <source>Connected to the server again.</source>
        <translation>Соединение с сервером восстановлено.</translation>
    </message>
    <message>
        <source>The server has no search indexes: each search reads every phrase.</source>
        <translation>На сервере нет индексов для поиска: каждый поиск читает все фразы.</translation>
    </message>
    <message>
        <source>Qt&apos;s PostgreSQL driver is not installed: install the package libqt5sql5-psql.</source>
        <translation>Драйвер PostgreSQL для Qt не установлен: установите пакет libqt5sql5-psql.</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver is not installed: install the package libqt5sql5-sqlite.</source>
        <translation>Драйвер SQLite для Qt не установлен: установите пакет libqt5sql5-sqlite.</translation>
    </message>
    <message>
        <source>%1 is not a server address of the form postgresql://user@host:port/database</source>
        <translation>%1 — не адрес сервера вида postgresql://пользователь@сервер:порт/база</translation>
    </message>
    <message>
        <source>the server database has no phrase table, and it could not be made: %1</source>
        <translation>в базе данных на сервере нет таблицы фраз, и создать её не удалось: %1</translation>
    </message>
    <message>
        <source>the phrase table lacks the columns %1</source>
        <translation>в таблице фраз нет столбцов %1</translation>
    </message>
    <message>
        <source>The file %1 is not a phrase database: %2.</source>
        <translation>Файл %1 не является базой фраз: %2.</translation>
    </message>
    <message>
        <source>The file %1 is the database open: its phrases are already in it.</source>
        <translation>Файл %1 — это открытая база: его фразы уже в ней.</translation>
    </message>
    <message>
        <source>the template %1 is not a phrase database</source>
        <translation>шаблон %1 не является базой фраз</translation>
    </message>
    <message>
        <source>it is the database open</source>
        <translation>это открытая база</translation>
    </message>
    <message>
        <source>%1 is read-only for you: your role may read the phrases but not change them.</source>
        <translation>%1 доступна вам только для чтения: ваша роль может читать фразы, но не изменять их.</translation>
    </message>
    <message>
        <source>The connection to the server is lost; the phrases shown are kept, and the next action connects again. The server said: %1</source>
        <translation>Соединение с сервером потеряно; показанные фразы сохранены, следующее действие подключится снова. Сервер сообщил: %1</translation>
    </message>
</context>
<context>
    <name>TypeEdit</name>
    <message>
        <source>&amp;Color...</source>
        <translation>&amp;Цвет...</translation>
    </message>
</context>
</TS>
