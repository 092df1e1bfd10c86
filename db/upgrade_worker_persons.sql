-- Brings a database made by an earlier schema.sql in step: a worker's shared
-- person row carries the worker's id both as its id and as its code.  Safe to
-- run any number of times; keeps every row and name.
--     psql -v ON_ERROR_STOP=1 -f db/upgrade_worker_persons.sql

\set ON_ERROR_STOP 1
set client_min_messages = warning;

begin;

-- Worker ids stay below the ids of other shared rows.
alter sequence accounts_dep.person_id_seq maxvalue 999999;
do $$
begin
    if not exists (select 1 from pg_constraint where conname = 'person_id_below_shared'
                      and conrelid = 'accounts_dep.person'::regclass) then
        alter table accounts_dep.person
            add constraint person_id_below_shared check (id between 1 and 999999);
    end if;
end $$;

-- The same trigger function as in schema.sql.
\ir person_to_contractor.sql

-- Shared rows found by a worker's code move to the worker's id, unless
-- another row already holds that id.
update cmn_contractor.person c set id = w.id
  from accounts_dep.person w
 where c.s_code = w.id::text and c.id <> w.id
   and not exists (select 1 from cmn_contractor.person o where o.id = w.id);

-- The journal and the timesheets find workers by their code as a number.
create index if not exists person_s_code_integer on cmn_contractor.person ((s_code::integer));

-- Workers without a shared row get one.
insert into cmn_contractor.person(id, s_caption, s_code)
select w.id, w.fio, w.id::text
  from accounts_dep.person w
 where not exists (select 1 from cmn_contractor.person c where c.id = w.id or c.s_code = w.id::text);

commit;
