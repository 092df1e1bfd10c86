-- Reserved rows every database of the timesheet needs (loaded by schema.sql).
-- Kinds and operations 7776..7784 are handled specially by the client;
-- the products carry the same ids so that the journal, which joins products,
-- operations and kinds, lists every row the client writes with them.

-- Group of the service products; not in use, so never offered for new work.
insert into cmn_classifier.item(id, id_level, s_caption, b_excluded) values (1, 2, 'Служебные', 1);
select setval('cmn_classifier.item_id_seq', 1) \g /dev/null

insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, massa, id_class_item) values
    (7776, 'Резерв', '', 6, 0, 1),
    (7777, 'Хоз. работы', '', 6, 0, 1),
    (7778, 'Ср. сдельная', '', 6, 0, 1),
    (7779, 'Подсобные работы', '', 6, 0, 1),
    (7780, 'Оператор покраски', '', 6, 0, 1),
    (7781, 'Подсобный рабочий', '', 6, 0, 1),
    (7782, 'Хоз. работы (ночь)', '', 6, 0, 1),
    (7783, 'Хоз. работы (прочие)', '', 6, 0, 1),
    (7784, 'Навеска', '', 6, 0, 1);

insert into accounts_dep.vid_oper(id, vid) values
    (7776, 'Резерв'),
    (7777, 'Хоз. работы'),
    (7778, 'Ср. сдельная'),
    (7779, 'Подсобные работы'),
    (7780, 'Оператор покраски'),
    (7781, 'Подсобный рабочий'),
    (7782, 'Хоз. работы (ночь)'),
    (7783, 'Хоз. работы (прочие)'),
    (7784, 'Навеска');

insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new)
select id, id, 0, id, 0 from accounts_dep.vid_oper where id between 7776 and 7784;

-- Hourly rates of the household kinds; the site sets the real ones.
insert into accounts_dep.norm(o_id, norma, price, prize) values
    (7777, 1, 0, 0),
    (7778, 1, 0, 0),
    (7782, 1, 0, 0),
    (7783, 1, 0, 0);

insert into accounts_dep.ver(d, t, delim) values (0, 0, '.');
