-- Demo data: a small sheet-metal furniture plant with 28 workers.
-- Load once into a database that has just received schema.sql:
--     psql -v ON_ERROR_STOP=1 -f db/demo.sql
-- The journal covers the working days from the first day of the previous
-- month up to today, so today's journal and last month's timesheets are
-- never empty.  Everything is derived from row numbers, no random().

\set ON_ERROR_STOP 1
set client_min_messages = warning;

begin;

-- Worker-card look-ups.

insert into cmn_department.department(id_branch, s_code, s_caption, s_description) values
    (1, '01', 'Заготовительный участок', 'Резка, штамповка, гибка'),
    (1, '02', 'Механический участок', 'Сверление'),
    (1, '03', 'Сварочный участок', 'Сварка и зачистка'),
    (1, '04', 'Участок покраски', 'Порошковая и жидкая покраска'),
    (1, '05', 'Сборочно-упаковочный участок', 'Сборка и упаковка'),
    (1, '06', 'Хозяйственная служба', 'Уборка, погрузка, ремонт');

insert into hrms_staffpos.staffpos(id_department, s_code, s_caption, d_begin, s_description)
select d.id, v.code, v.caption, date '2019-01-01', ''
  from (values ('01', '100', 'Мастер участка'),
               ('01', '101', 'Резчик металла'),
               ('01', '102', 'Штамповщик'),
               ('01', '103', 'Оператор листогибочного пресса'),
               ('02', '201', 'Сверловщик'),
               ('03', '301', 'Электросварщик'),
               ('03', '302', 'Слесарь-зачистник'),
               ('04', '401', 'Маляр'),
               ('05', '501', 'Сборщик металлоконструкций'),
               ('05', '502', 'Упаковщик'),
               ('06', '601', 'Подсобный рабочий'),
               ('06', '602', 'Уборщик производственных помещений')) v(dep, code, caption)
  join cmn_department.department d on d.s_code = v.dep;

insert into adm_role.roles(s_name, s_caption, d_begin, d_end, b_active) values
    ('admin',       'Администратор',     date '2019-01-01', null, 1),
    ('payroll',     'Расчётный отдел',   date '2019-01-01', null, 1),
    ('foreman',     'Мастер',            date '2019-01-01', null, 1),
    ('storekeeper', 'Кладовщик',         date '2019-01-01', null, 1),
    ('worker',      'Рабочий',           date '2019-01-01', null, 1),
    ('quality',     'Контролёр ОТК',     date '2019-01-01', date '2023-12-31', 0);

-- Workers.  kind: the operation kind a worker is paid for, 0 for the
-- household staff, -1 for those paid from the earnings of others; shift: the
-- worker's usual shift; hh: the household kind of the household staff;
-- paid: the distribution code of those paid from others' earnings.

create temporary table demo_worker (
    rn    serial,
    fio   varchar(254),
    dep   varchar(254),
    kind  integer,
    shift integer,
    hh    integer,
    paid  integer
) on commit drop;

insert into demo_worker(fio, dep, kind, shift, hh) values
    ('Абрамов Сергей Петрович',        'Заготовительный участок',      1, 1, null),
    ('Белова Ирина Николаевна',        'Участок покраски',             2, 1, null),
    ('Васильев Андрей Игоревич',       'Сварочный участок',            5, 1, null),
    ('Гончаренко Виктор Степанович',   'Заготовительный участок',      6, 2, null),
    ('Давыдова Наталья Сергеевна',     'Сборочно-упаковочный участок', 9, 1, null),
    ('Ежов Михаил Александрович',      'Заготовительный участок',      4, 1, null),
    ('Жукова Ольга Викторовна',        'Участок покраски',             3, 2, null),
    ('Зайцев Дмитрий Олегович',        'Сварочный участок',            7, 1, null),
    ('Иванов Иван Иванович',           'Сборочно-упаковочный участок', 8, 1, null),
    ('Калинин Алексей Юрьевич',        'Механический участок',        10, 2, null),
    ('Ковалёв Роман Андреевич',        'Заготовительный участок',      1, 3, null),
    ('Лебедева Светлана Павловна',     'Участок покраски',             2, 3, null),
    ('Морозов Николай Васильевич',     'Сварочный участок',            5, 2, null),
    ('Никитин Евгений Борисович',      'Заготовительный участок',      6, 1, null),
    ('О''Нил Пётр Иванович',           'Сварочный участок',            5, 3, null),
    ('Павлов Константин Ильич',        'Заготовительный участок',      4, 2, null),
    ('Романова Татьяна Геннадьевна',   'Сборочно-упаковочный участок', 9, 2, null),
    ('Семёнов Артём Денисович',        'Сварочный участок',            7, 3, null),
    ('Тихонов Валерий Максимович',     'Сборочно-упаковочный участок', 8, 2, null),
    ('Фёдоров Г.А.',                   'Механический участок',        10, 1, null),
    ('Хабибуллин Ринат Маратович',     'Участок покраски',             3, 1, null),
    ('Широков Л.Н.',                   'Сборочно-упаковочный участок', 8, 3, null),
    ('Щербакова Анна Михайловна',      'Хозяйственная служба',         0, 1, 7777),
    ('Юдин Степан Егорович',           'Хозяйственная служба',         0, 1, 7783),
    ('Яковлев Борис Фёдорович',        'Хозяйственная служба',         0, 1, 7782);

-- A brigade's auxiliary worker, a painting operator and a hanging worker,
-- paid 0.7, 1.2 and 0.4 of the hourly earnings of the shift-1 workers they
-- help.
insert into demo_worker(fio, dep, kind, shift, paid) values
    ('Гаврилов Олег Семёнович',        'Сборочно-упаковочный участок', -1, 1, 7781),
    ('Кудрявцева Марина Олеговна',     'Участок покраски',            -1, 1, 7780),
    ('Мельников Юрий Павлович',        'Участок покраски',            -1, 1, 7784);

-- The position text of a worker is the department, as the workers book
-- stores it.  The trigger gives every worker a shared person row.
alter table demo_worker add column w_id integer;
with added as (
    insert into accounts_dep.person(fio, s_staffpos_hl)
    select fio, dep from demo_worker order by rn
    returning id, fio
)
update demo_worker w set w_id = a.id from added a where a.fio = w.fio;

-- Nomenclature groups; the last one is no longer in use.

insert into cmn_classifier.item(id_level, s_code, s_caption, s_description, b_excluded, d_excluded_date) values
    (2, '10', 'Стеллажи и полки',     '', 0, null),
    (2, '20', 'Шкафы и верстаки',     '', 0, null),
    (2, '30', 'Крепёж и кронштейны',  '', 0, null),
    (2, '40', 'Тележки и тара',       '', 0, null),
    (2, '90', 'Снято с производства', '', 1, date '2023-06-30');

-- Products; massa is boxes per piece.

insert into cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, massa, id_class_item)
select v.marka, '', 6, v.massa, i.id
  from (values (1,  'Стеллаж СТ-1200',             '10', 2),
               (2,  'Стеллаж СТ-1800',             '10', 3),
               (3,  'Полка П-600',                 '10', 0.5),
               (4,  'Полка П-900',                 '10', 0.5),
               (5,  'Стойка С-2000',               '10', 0.25),
               (6,  'Шкаф ШМ-01',                  '20', 1),
               (7,  'Шкаф ШМ-02',                  '20', 1),
               (8,  'Верстак ВС-1500',             '20', 2),
               (9,  'Тумба инструментальная ТИ-3', '20', 1),
               (10, 'Кронштейн КР-150',            '30', 0.02),
               (11, 'Кронштейн КР-250',            '30', 0.025),
               (12, 'Опора регулируемая ОР-40',    '30', 0.01),
               (13, 'Тележка ТГ-150',              '40', 1),
               (14, 'Ящик сетчатый ЯС-600',        '40', 0.5),
               (15, 'Поддон металлический ПМ-1',   '40', 1.5)) v(ord, marka, grp, massa)
  join cmn_classifier.item i on i.s_code = v.grp and i.id_level = 2
 order by v.ord;

-- Operation kinds.  Only the two painting kinds carry "краска" in their
-- names: the entry window asks for a colour by that word.

insert into accounts_dep.vid_oper(id, vid) values
    (1,  'Резка металла'),
    (2,  'Покраска порошковая'),
    (3,  'Покраска жидкая'),
    (4,  'Гибка'),
    (5,  'Сварка'),
    (6,  'Штамповка'),
    (7,  'Зачистка швов'),
    (8,  'Сборка'),
    (9,  'Упаковка'),
    (10, 'Сверление');
select setval('accounts_dep.vid_oper_id_seq', 10) \g /dev/null

-- Operations with their price tiers: tier 1 is the working price, higher
-- output tiers pay more per piece and a premium.  The pallet drilling has
-- no tiers yet, so only the price-list export shows it.

create temporary table demo_oper (
    ord      serial,
    marka    varchar(254),
    kind     integer,
    naimen   smallint,
    cena_new numeric(15, 2),
    tiers    integer
) on commit drop;

insert into demo_oper(marka, kind, naimen, cena_new, tiers) values
    ('Стеллаж СТ-1200',             1,  1, 14.20, 2),
    ('Стойка С-2000',               1,  1,  3.85, 1),
    ('Полка П-600',                 1,  1,  4.10, 3),
    ('Шкаф ШМ-01',                  1,  1, 21.50, 2),
    ('Кронштейн КР-150',            6,  1,  0.85, 3),
    ('Кронштейн КР-250',            6,  1,  1.05, 1),
    ('Опора регулируемая ОР-40',    6,  1,  0.62, 2),
    ('Полка П-900',                 6,  1,  5.30, 1),
    ('Полка П-600',                 4,  1,  2.75, 2),
    ('Полка П-900',                 4,  1,  3.10, 3),
    ('Шкаф ШМ-02',                  4,  1, 18.40, 1),
    ('Ящик сетчатый ЯС-600',        4,  1,  6.90, 2),
    ('Стойка С-2000',              10,  1,  2.20, 1),
    ('Кронштейн КР-250',           10,  1,  0.45, 2),
    ('Верстак ВС-1500',            10,  1,  9.60, 3),
    ('Поддон металлический ПМ-1',  10,  1,  7.80, 0),
    ('Тележка ТГ-150',              5,  0, 64.00, 2),
    ('Верстак ВС-1500',             5,  0, 85.50, 1),
    ('Ящик сетчатый ЯС-600',        5,  0, 22.40, 3),
    ('Поддон металлический ПМ-1',   5,  0, 48.00, 1),
    ('Тележка ТГ-150',              7,  0, 12.30, 1),
    ('Верстак ВС-1500',             7,  0, 15.75, 2),
    ('Поддон металлический ПМ-1',   7,  0,  9.90, 1),
    ('Стеллаж СТ-1200',             2,  0, 38.00, 2),
    ('Стеллаж СТ-1800',             2,  0, 52.00, 1),
    ('Шкаф ШМ-01',                  2,  0, 61.50, 3),
    ('Кронштейн КР-150',            2,  0,  1.90, 1),
    ('Тумба инструментальная ТИ-3', 2,  0, 44.00, 2),
    ('Тележка ТГ-150',              3,  0, 27.60, 1),
    ('Поддон металлический ПМ-1',   3,  0, 19.80, 2),
    ('Опора регулируемая ОР-40',    3,  0,  0.95, 1),
    ('Верстак ВС-1500',             3,  1, 31.20, 1),
    ('Стеллаж СТ-1800',             8,  0, 24.00, 2),
    ('Шкаф ШМ-02',                  8,  0, 35.40, 3),
    ('Тумба инструментальная ТИ-3', 8,  0, 29.90, 1),
    ('Верстак ВС-1500',             8,  0, 40.00, 2),
    ('Стеллаж СТ-1200',             9,  0,  6.50, 1),
    ('Шкаф ШМ-01',                  9,  0,  8.20, 2),
    ('Кронштейн КР-150',            9,  0,  0.30, 3),
    ('Полка П-600',                 9,  0,  1.40, 1);

insert into accounts_dep.oper(vid, naimen, i_id, cena_new)
select d.kind, d.naimen, g.id, d.cena_new
  from demo_oper d
  join cmn_gds_and_srv.gds_and_srv g on g.s_caption = d.marka and g.id_msm_bs = 6
 order by d.ord;

-- A shift's norm earns about 1800 roubles at the tier-1 price.
insert into accounts_dep.norm(o_id, norma, price, prize)
select o.id,
       (greatest(1, round(1800 / d.cena_new / 5)) * 5 * (1 + 0.2 * (t - 1)))::integer,
       round(d.cena_new * (1 + 0.075 * (t - 1)), 4),
       5 * (t - 1)
  from demo_oper d
  join cmn_gds_and_srv.gds_and_srv g on g.s_caption = d.marka and g.id_msm_bs = 6
  join accounts_dep.oper o on o.vid = d.kind and o.naimen = d.naimen and o.i_id = g.id
  cross join lateral generate_series(1, d.tiers) t
 order by o.id, t;

-- Hourly rates of the household kinds and of average piecework.
update accounts_dep.norm n set price = v.price
  from (values (7777, 185.00), (7778, 210.00), (7782, 185.00), (7783, 160.50)) v(o_id, price)
 where n.o_id = v.o_id;

-- Calendar of the demo period: dn numbers the days from 1.

create temporary table demo_day on commit drop as
select s.first + i as data, i + 1 as dn, extract(isodow from s.first + i)::integer as dow
  from (select (date_trunc('month', current_date) - interval '1 month')::date as first) s
 cross join lateral generate_series(0, current_date - s.first) i;

-- Priced operations of each kind, numbered within the kind.
create temporary table demo_op on commit drop as
select o.id as o_id, o.i_id, o.vid as kind, n.price, n.norma,
       row_number() over (partition by o.vid order by o.id) - 1 as idx,
       count(*) over (partition by o.vid) as cnt
  from accounts_dep.oper o
  join (select o_id, min(price) as price, min(norma) as norma
          from accounts_dep.norm group by o_id) n on n.o_id = o.id
 where o.id < 7776;

-- Who works when.  Weekdays: everybody but an occasional absence; a few come
-- in on Saturdays; if today is a day off, some work today all the same.
create temporary table demo_work on commit drop as
select w.w_id, w.rn, w.kind, w.shift, w.hh, d.data, d.dn, d.dow,
       case
           when d.dow <= 5 then (w.rn * 7 + d.dn * 3) % 19 = 0
           when d.data = current_date then w.rn % 3 <> 1
           when d.dow = 6 then (w.rn + d.dn / 7) % 5 <> 0
           else true
       end as absent
  from demo_worker w
 cross join demo_day d;

-- Journal.  A day is one operation of 8 hours or two of 4; now and then
-- 4 hours of overtime (shift 4) follow on a weekday.  Rows are entered at the
-- end of their shift, but never later than now.
create temporary table demo_slot on commit drop as
select k.*, s.slot, s.smena, s.hours
  from demo_work k
 cross join lateral (
        select 0 as slot, k.shift as smena, case when (k.rn + k.dn) % 3 = 0 then 4 else 8 end as hours
        union all
        select 1, k.shift, 4 where (k.rn + k.dn) % 3 = 0
        union all
        select 2, 4, 4 where k.dow <= 5 and (k.rn * 3 + k.dn) % 17 = 0
       ) s
 where k.kind > 0 and not k.absent;

insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod,
                               prize, id_doc, id_doc_item, id_gds_use, id_cons_use, f_gds_qty_use)
select q.w_id, q.i_id, q.o_id, q.cena, q.kol_vo,
       case when (q.rn * 5 + q.dn + q.slot) % 9 = 0 then least(q.kol_vo, 1 + (q.rn + q.dn) % 3) else 0 end,
       q.data, q.smena, q.color, q.hours,
       case
           when q.data = current_date then 'no'
           when q.data = current_date - 1 then case when q.rn % 3 = 0 then 'ok' else 'no' end
           when q.dn <= 3 and q.rn % 4 = 0 then 'да'
           when (q.rn * q.dn) % 31 = 0 then 'no'
           else 'ok'
       end,
       least(q.vvod, localtimestamp(0)),
       0, 0, 0, 0, 0, 0
  from (select s.w_id, s.rn, s.dn, s.data, s.smena, s.slot, s.hours, o.i_id, o.o_id,
               round(o.price * case when s.dow >= 6 then 2 else 1 end
                             * case s.smena when 3 then 1.2 when 4 then 1.5 else 1 end, 4) as cena,
               greatest(1, round(o.norma * s.hours / 8.0 * (85 + (s.rn * 13 + s.dn * 7 + s.slot * 5) % 34) / 100))::integer as kol_vo,
               case when o.kind in (2, 3) then 1 + (s.rn + s.dn + s.slot) % 5 else 0 end as color,
               s.data + make_interval(hours => case s.smena when 1 then 15 when 2 then 23 when 3 then 31 else 20 end,
                                      mins => (s.rn * 7 + s.dn * 11 + s.slot * 13) % 55) as vvod
          from demo_slot s
          join demo_op o on o.kind = s.kind and o.idx = (s.rn + s.dn + s.slot) % o.cnt) q
 order by q.data, q.smena, q.w_id, q.slot;

-- Distribution records: one a working day for each paid worker, written as
-- the distribution window writes them (product, operation and colour are
-- the code, one piece at the pay), from the shift-1 journal of the workers
-- helped: the assemblers and packers for the brigade, the painters for the
-- painting operator and the hanging worker.  The hanging worker now and then
-- works 6 hours, so "Изменить время" has something to change.
insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod,
                               prize, id_doc, id_doc_item, id_gds_use, id_cons_use, f_gds_qty_use)
select p.w_id, p.paid, p.paid, round(p.hours * r.earned / r.hours * p.coefficient, 2), 1, 0, p.data, 1, p.paid,
       p.hours,
       case
           when p.data = current_date then 'no'
           when (p.rn * p.dn) % 29 = 0 then 'no'
           else 'ok'
       end,
       least(p.data + make_interval(hours => 16, mins => (p.rn * 7 + p.dn * 11) % 55), localtimestamp(0)),
       0, 0, 0, 0, 0, 0
  from (select w.w_id, w.rn, w.paid, d.data, d.dn,
               case w.paid when 7781 then 0.7 when 7780 then 1.2 else 0.4 end as coefficient,
               case when w.paid = 7784 and d.dn % 4 = 1 then 6 else 8 end as hours
          from demo_worker w
         cross join demo_day d
         where w.paid is not null
           and (d.data = current_date or d.dow <= 5 and (w.rn * 7 + d.dn * 3) % 19 <> 0)) p
  join lateral (
        select sum(round((s.kol_vo - s.brak) * s.cena, 2)) as earned, sum(s.time) as hours
          from accounts_dep.smena s
          join accounts_dep.oper o on o.id = s.o_id
         where s.data = p.data and s.smena = 1
           and o.vid = any (case p.paid when 7781 then array[8, 9] else array[2, 3] end)) r on r.hours > 0
 order by p.data, p.w_id;

-- Household records.  The household staff work every weekday: one on day
-- household works (other works on Fridays, and paid-double Saturdays), one
-- on other works, one on night works.  A piece worker kept off piecework
-- for a day gets average piecework.  Groups rotate over the groups in use.

create temporary table demo_grp on commit drop as
select id, row_number() over (order by id) - 1 as idx, count(*) over () as cnt
  from cmn_classifier.item
 where id_level = 2 and b_excluded = 0;

insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, i_smena, cnt, price, i_holiday, i_night)
select f.w_id, f.kind, g.id, f.data, extract(month from f.data), extract(year from f.data), 1, f.hours,
       round(n.price * case when f.holiday = 1 then 2 else 1 end * case when f.night = 1 then 1.2 else 1 end, 4),
       f.holiday, f.night
  from (select k.w_id, k.rn, k.dn, k.data,
               case when k.hh = 7777 and k.dow = 5 then 7783 else k.hh end as kind,
               case when k.dow >= 6 then 6 else 8 end as hours,
               case when k.dow >= 6 then 1 else 0 end as holiday,
               case when k.hh = 7782 then 1 else 0 end as night
          from demo_work k
         where k.kind = 0
           and (k.dow <= 5 and (k.rn * 7 + k.dn * 3) % 19 <> 0
                or k.dow = 6 and k.hh = 7777 and k.data < current_date)
        union all
        select k.w_id, k.rn, k.dn, k.data, 7778, 8, 0, 0
          from demo_work k
         where k.kind > 0 and k.absent and k.dow <= 5 and k.rn % 2 = 0 and k.data < current_date) f
  join demo_grp g on g.idx = (f.rn + f.dn) % g.cnt
  join (select o_id, min(price) as price from accounts_dep.norm group by o_id) n on n.o_id = f.kind
 order by f.data, f.w_id;

-- Hours timesheet: one shift row per worker, shift and month ...

insert into accounts_dep.h_tabel(w_id, smena, month, year,
    d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
    d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
select w_id, smena, extract(month from data), extract(year from data),
       sum(time) filter (where extract(day from data) = 1),
       sum(time) filter (where extract(day from data) = 2),
       sum(time) filter (where extract(day from data) = 3),
       sum(time) filter (where extract(day from data) = 4),
       sum(time) filter (where extract(day from data) = 5),
       sum(time) filter (where extract(day from data) = 6),
       sum(time) filter (where extract(day from data) = 7),
       sum(time) filter (where extract(day from data) = 8),
       sum(time) filter (where extract(day from data) = 9),
       sum(time) filter (where extract(day from data) = 10),
       sum(time) filter (where extract(day from data) = 11),
       sum(time) filter (where extract(day from data) = 12),
       sum(time) filter (where extract(day from data) = 13),
       sum(time) filter (where extract(day from data) = 14),
       sum(time) filter (where extract(day from data) = 15),
       sum(time) filter (where extract(day from data) = 16),
       sum(time) filter (where extract(day from data) = 17),
       sum(time) filter (where extract(day from data) = 18),
       sum(time) filter (where extract(day from data) = 19),
       sum(time) filter (where extract(day from data) = 20),
       sum(time) filter (where extract(day from data) = 21),
       sum(time) filter (where extract(day from data) = 22),
       sum(time) filter (where extract(day from data) = 23),
       sum(time) filter (where extract(day from data) = 24),
       sum(time) filter (where extract(day from data) = 25),
       sum(time) filter (where extract(day from data) = 26),
       sum(time) filter (where extract(day from data) = 27),
       sum(time) filter (where extract(day from data) = 28),
       sum(time) filter (where extract(day from data) = 29),
       sum(time) filter (where extract(day from data) = 30),
       sum(time) filter (where extract(day from data) = 31)
  from accounts_dep.smena
 group by w_id, smena, extract(year from data), extract(month from data)
 order by extract(year from data), extract(month from data), w_id, smena;

-- ... and one household row per worker, kind, night flag, group and month.

insert into accounts_dep.h_tabel(w_id, i_type, i_night, id_nom, month, year,
    d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
    d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
select id_p, id_o, i_night, id_nom, i_mnth, i_year,
       sum(cnt) filter (where extract(day from d_date) = 1),
       sum(cnt) filter (where extract(day from d_date) = 2),
       sum(cnt) filter (where extract(day from d_date) = 3),
       sum(cnt) filter (where extract(day from d_date) = 4),
       sum(cnt) filter (where extract(day from d_date) = 5),
       sum(cnt) filter (where extract(day from d_date) = 6),
       sum(cnt) filter (where extract(day from d_date) = 7),
       sum(cnt) filter (where extract(day from d_date) = 8),
       sum(cnt) filter (where extract(day from d_date) = 9),
       sum(cnt) filter (where extract(day from d_date) = 10),
       sum(cnt) filter (where extract(day from d_date) = 11),
       sum(cnt) filter (where extract(day from d_date) = 12),
       sum(cnt) filter (where extract(day from d_date) = 13),
       sum(cnt) filter (where extract(day from d_date) = 14),
       sum(cnt) filter (where extract(day from d_date) = 15),
       sum(cnt) filter (where extract(day from d_date) = 16),
       sum(cnt) filter (where extract(day from d_date) = 17),
       sum(cnt) filter (where extract(day from d_date) = 18),
       sum(cnt) filter (where extract(day from d_date) = 19),
       sum(cnt) filter (where extract(day from d_date) = 20),
       sum(cnt) filter (where extract(day from d_date) = 21),
       sum(cnt) filter (where extract(day from d_date) = 22),
       sum(cnt) filter (where extract(day from d_date) = 23),
       sum(cnt) filter (where extract(day from d_date) = 24),
       sum(cnt) filter (where extract(day from d_date) = 25),
       sum(cnt) filter (where extract(day from d_date) = 26),
       sum(cnt) filter (where extract(day from d_date) = 27),
       sum(cnt) filter (where extract(day from d_date) = 28),
       sum(cnt) filter (where extract(day from d_date) = 29),
       sum(cnt) filter (where extract(day from d_date) = 30),
       sum(cnt) filter (where extract(day from d_date) = 31)
  from accounts_dep.fatigue
 group by id_p, id_o, i_night, id_nom, i_year, i_mnth
 order by i_year, i_mnth, id_p, id_o, i_night, id_nom;

commit;
