-- Starter phrases a new user finds. The lower-case columns hold what the program's
-- own toLower gives (SQLite's lower() leaves Cyrillic alone), so they are written out.
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Hello! Thank you for your message.', 'greeting, email', 'hello', '', 'hello', 'hello! thank you for your message.', 'greeting, email', 80, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Good morning, everyone!', 'greeting', 'morning', '', 'morning', 'good morning, everyone!', 'greeting', 60, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Best regards,' || char(10) || 'Jane Doe' || char(10) || 'Quillary user', 'signature, email', 'sig', '<html><body><p>Best regards,<br /><b>Jane Doe</b><br /><i>Quillary user</i></p></body></html>', 'sig', 'best regards,' || char(10) || 'jane doe' || char(10) || 'quillary user', 'signature, email', 90, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Thank you for your order. It will ship within two business days.', 'shop, email', 'order', '', 'order', 'thank you for your order. it will ship within two business days.', 'shop, email', 50, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('IMPORTANT: please reply before Friday.', 'work, reminder', 'deadline', '<html><body><p><span style="color:#c00000; font-weight:bold;">IMPORTANT:</span> please reply before <u>Friday</u>.</p></body></html>', 'deadline', 'important: please reply before friday.', 'work, reminder', 70, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Meeting notes' || char(10) || 'Attendees:' || char(10) || 'Decisions:' || char(10) || 'Next steps:', 'work, template', 'notes', '<html><body><p><b>Meeting notes</b></p><p>Attendees:<br />Decisions:<br />Next steps:</p></body></html>', 'notes', 'meeting notes' || char(10) || 'attendees:' || char(10) || 'decisions:' || char(10) || 'next steps:', 'work, template', 40, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Sorry for the delay, I will get back to you tomorrow.', 'email, apology', 'delay', '', 'delay', 'sorry for the delay, i will get back to you tomorrow.', 'email, apology', 30, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Happy birthday! All the best to you.', 'greeting, family', 'birthday', '<html><body><p><span style="color:#2060c0; font-size:14pt;">Happy birthday!</span> All the best to you.</p></body></html>', 'birthday', 'happy birthday! all the best to you.', 'greeting, family', 55, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Здравствуйте! Спасибо за ваше письмо.', 'приветствие, почта', 'привет', '', 'привет', 'здравствуйте! спасибо за ваше письмо.', 'приветствие, почта', 75, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('С уважением,' || char(10) || 'Иван Петров', 'подпись, почта', 'подпись', '<html><body><p>С уважением,<br /><b>Иван Петров</b></p></body></html>', 'подпись', 'с уважением,' || char(10) || 'иван петров', 'подпись, почта', 65, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Добрый день! Напоминаю о встрече в пятницу.', 'работа, напоминание', 'встреча', '', 'встреча', 'добрый день! напоминаю о встрече в пятницу.', 'работа, напоминание', 45, 0);
INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, LabelLower, Rating, Frequency)
VALUES ('Press Space or Ctrl+C on a phrase to copy it; every copy raises its Count.', 'help, tip', 'tip', '', 'tip', 'press space or ctrl+c on a phrase to copy it; every copy raises its count.', 'help, tip', 20, 0);
