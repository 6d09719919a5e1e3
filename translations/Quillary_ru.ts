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
</context>
<context>
    <name>TypeEdit</name>
    <message>
        <source>&amp;Color...</source>
        <translation>&amp;Цвет...</translation>
    </message>
</context>
</TS>
